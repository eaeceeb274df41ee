// A program folder of its own for each test: real "Channel.ini", "Settings.ini" and
// "RSettings.ini" written as bytes, so a test says exactly what lies on disk.
#pragma once

#include "ProgramFolder.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class DirectoryFolder
{
  public:
    DirectoryFolder()
    {
        EXPECT_TRUE(m_Dir.isValid());
        core::OverrideProgramFolder(m_Dir.path());
    }
    ~DirectoryFolder() { core::OverrideProgramFolder(QString()); }
    DirectoryFolder(const DirectoryFolder&) = delete;
    DirectoryFolder& operator=(const DirectoryFolder&) = delete;

    void Write(const char* name, const QByteArray& bytes) const
    {
        QFile file(m_Dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    QString Path(const char* name) const { return m_Dir.filePath(QString::fromLatin1(name)); }
    QByteArray Read(const char* name) const
    {
        QFile file(m_Dir.filePath(QString::fromLatin1(name)));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

  private:
    QTemporaryDir m_Dir;
};
