// Resource scripts made up for the benchmarks: menus and dialogs in Latin, Cyrillic and Greek
// captions, with a key used twice here and there as in a translated copy.
#pragma once

#include <cstddef>
#include <random>
#include <string>
#include <vector>

inline const std::vector<std::vector<std::string>>& BenchWords()
{
    static const std::vector<std::vector<std::string>> words = {
        {"File", "Edit", "View", "Insert", "Format", "Tools", "Window", "Help", "Open", "Save",
         "Close", "Print", "Export", "Import", "Find", "Replace", "Select", "Zoom", "Options",
         "About", "Undo", "Redo", "Copy", "Paste", "Delete", "Rename", "Refresh", "Settings"},
        {"Файл", "Правка", "Вид", "Вставка", "Формат", "Сервис", "Окно", "Справка", "Открыть",
         "Сохранить", "Закрыть", "Печать", "Экспорт", "Импорт", "Найти", "Заменить", "Выделить",
         "Масштаб", "Параметры", "Отменить", "Вернуть", "Копировать", "Удалить", "Обновить"},
        {"Αρχείο", "Επεξεργασία", "Προβολή", "Εισαγωγή", "Μορφή", "Εργαλεία", "Παράθυρο",
         "Βοήθεια", "Άνοιγμα", "Αποθήκευση", "Κλείσιμο", "Εκτύπωση", "Εξαγωγή", "Εύρεση",
         "Αντικατάσταση", "Επιλογή", "Ζουμ", "Ρυθμίσεις", "Αναίρεση", "Αντιγραφή", "Διαγραφή"},
    };
    return words;
}

class TScriptGenerator
{
public:
    explicit TScriptGenerator(unsigned seed) : FRandom(seed) {}

    // A caption of one or two words with a marker before the first letter of a random word,
    // the same letter as another caption's now and then.
    std::string Caption(const std::vector<std::string>& words)
    {
        std::string caption = words[FRandom() % words.size()];
        if (FRandom() % 3 == 0)
            caption += ' ' + words[FRandom() % words.size()];
        if (FRandom() % 8 == 0)
            return caption;
        // Appended rather than inserted at 0: GCC 12 warns falsely about the latter at -O3.
        std::string marked(1, '&');
        marked += caption;
        return marked;
    }

    std::string Popup(const std::vector<std::string>& words, std::size_t items, int& id)
    {
        std::string text = "    POPUP \"" + Caption(words) + "\"\r\n    BEGIN\r\n";
        for (std::size_t i = 0; i < items; ++i) {
            if (i % 5 == 4)
                text += "        MENUITEM SEPARATOR\r\n";
            text += "        MENUITEM \"" + Caption(words) +
                    (i % 3 == 0 ? "\\tCtrl+" + std::string(1, static_cast<char>('A' + i)) : "") +
                    "\",  ID_COMMAND_" + std::to_string(++id) + "\r\n";
        }
        return text + "    END\r\n";
    }

    std::string Dialog(const std::vector<std::string>& words, const std::string& name,
                       std::size_t controls, int& id)
    {
        std::string text = name + " DIALOGEX 0, 0, 320, 200\r\nSTYLE DS_SETFONT | DS_MODALFRAME "
                                  "| WS_POPUP | WS_CAPTION\r\nCAPTION \"" +
                           words[0] + "\"\r\nFONT 8, \"MS Shell Dlg\", 400, 0, 0x1\r\nBEGIN\r\n";
        static const char* const kinds[] = {"LTEXT", "AUTOCHECKBOX", "PUSHBUTTON",
                                            "AUTORADIOBUTTON", "GROUPBOX"};
        for (std::size_t i = 0; i < controls; ++i) {
            text += "    " + std::string(kinds[i % 5]) + "  \"" + Caption(words) + "\",IDC_CTRL" +
                    std::to_string(++id) + ",7," + std::to_string(7 + 14 * i) + ",120,10\r\n";
            if (i % 4 == 3)
                text += "    EDITTEXT        IDC_EDIT" + std::to_string(id) +
                        ",130,7,80,14,ES_AUTOHSCROLL\r\n";
        }
        return text + "    DEFPUSHBUTTON   \"OK\",IDOK,200,180,50,14\r\nEND\r\n\r\n";
    }

    // About `size` bytes: a menu, two dialogs, and a string table filling up the rest.
    std::string Script(std::size_t size)
    {
        const std::vector<std::string>& words = BenchWords()[FRandom() % BenchWords().size()];
        int id = 0;
        std::string text = "// Generated for the benchmarks.\r\n#include \"resource.h\"\r\n\r\n"
                           "LANGUAGE LANG_NEUTRAL, SUBLANG_NEUTRAL\r\n#pragma code_page(65001)"
                           "\r\n\r\nIDR_MAINMENU MENU\r\nBEGIN\r\n";
        for (int p = 0; p < 5; ++p)
            text += Popup(words, 8, id);
        text += "END\r\n\r\n/* Dialogs */\r\n";
        text += Dialog(words, "IDD_OPTIONS", 12, id);
        text += Dialog(words, "IDD_FIND", 8, id);
        text += "STRINGTABLE\r\nBEGIN\r\n";
        while (text.size() + 6 < size)
            text += "    IDS_STRING" + std::to_string(++id) + "  \"" + Caption(words) + "\"\r\n";
        return text + "END\r\n";
    }

    // One menu per group of popups: scopes = menus * (popups + 1).
    std::string ManyScopes(std::size_t menus, std::size_t popups)
    {
        int id = 0;
        std::string text;
        for (std::size_t m = 0; m < menus; ++m) {
            const std::vector<std::string>& words = BenchWords()[m % BenchWords().size()];
            text += "IDR_MENU" + std::to_string(m) + " MENU\r\nBEGIN\r\n";
            for (std::size_t p = 0; p < popups; ++p)
                text += Popup(words, 10, id);
            text += "END\r\n\r\n";
        }
        return text;
    }

private:
    std::mt19937 FRandom;
};
