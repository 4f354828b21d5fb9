// The window's logic over the scripted user interface, with its settings file in a folder of
// the test's own. Header-only, for the suites that link the window's logic.
#pragma once

#include "CaptionLists.h"
#include "FakeUserInterface.h"
#include "MainController.h"
#include "WindowLayout.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

// The base of the controller suites: SetUp creates the form; showing it is each suite's call.
class TControllerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FDir.isValid());
        // Settings live in a folder of the test's own, whatever the form does with them.
        FController.SetIniFileName(FDir.filePath(QStringLiteral("QuarnelApps.ini")).toStdString());
        FController.FormCreate(FormCaption);
    }

    // The texts of one column of the list, top to bottom.
    TLines Column(int column) const
    {
        TLines texts;
        const TEntryModel& model = FController.Document().Model();
        for (int row = 0; row < model.Count(); ++row)
            texts.push_back(model.index(row, column).data().toString().toStdString());
        return texts;
    }

    QTemporaryDir FDir;
    TFakeUserInterface FUi;
    TCaptionDocument FDocument;
    TMainController FController{FUi, FDocument};
};
