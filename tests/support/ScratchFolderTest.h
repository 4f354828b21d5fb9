// A folder of a suite's own for each test, for suites that run the batch tool on files they
// write and then read back byte for byte.
#pragma once

#include "TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>

class TScratchFolderTest : public testing::Test
{
protected:
    // Writes the file under the folder, making the folders its name holds, and returns its path.
    std::string Write(const std::string& name, const std::string& bytes) const
    {
        const std::string path = FDir.filePath(QString::fromStdString(name)).toStdString();
        QDir().mkpath(QFileInfo(QString::fromStdString(path)).path());
        WriteBytes(path, bytes);
        return path;
    }
    static QString Q(const std::string& path) { return QString::fromStdString(path); }

    QTemporaryDir FDir;
};
