#pragma once

// The menus and dialogs of builder files as a catalogue translates them: each scope of a
// builder file holds the translations of its captions, found by msgctxt and msgid among the
// messages whose "#:" references name that file (or that name no file at all). A caption the
// catalogue leaves untranslated (no message, a fuzzy or empty one, translatable="no") is shown
// as the builder file has it, and its key is taken all the same.

#include "GtkBuilder.h"
#include "PoCatalogue.h"

#include <cstddef>
#include <string>
#include <vector>

struct RBuilderSource
{
    std::string Path; // as references name it, such as "src/window.ui"
    RGtkBuilderFile File;
};

struct RCatalogueScope
{
    std::string Name; // "src/window.ui: menu \"app-menu\" > \"_File\""
    // Scopes of the catalogue's caption file whose translation stands here.
    std::vector<std::size_t> Translations;
    // Captions shown untranslated here.
    std::vector<std::string> Untranslated;
    // Indices in the result whose keys this scope avoids as well.
    std::vector<std::size_t> Enclosing;
};

// The scopes with at least one translation, and the scopes they avoid.
std::vector<RCatalogueScope> CatalogueScopes(const RPoCatalogue& catalogue,
                                             const RPoCaptionFile& captions,
                                             const std::vector<RBuilderSource>& builders);

// Whether a "#:" reference's file names this path: the shorter, "./" and leading "../" left
// out, is the tail of the longer, folder by folder.
bool ReferenceNamesPath(const std::string& reference, const std::string& path);
