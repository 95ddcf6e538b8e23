// A temporary XDG home with phone programs: launchers declaring tel: whose program records its arguments.
#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace quirlanto::test {

class TelHandlerHome {
public:
    // Points the XDG variables into the folder: "data" is the user's data folder, "system" the system's.
    void enter()
    {
        QVERIFY(m_dir.isValid());
        qputenv("XDG_DATA_HOME", m_dir.filePath("data").toLocal8Bit());
        qputenv("XDG_DATA_DIRS", m_dir.filePath("system").toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", m_dir.filePath("config").toLocal8Bit());
    }
    // No launcher and nothing recorded.
    void clear()
    {
        QFile::remove(recordPath());
        QDir(m_dir.filePath("data")).removeRecursively();
        QDir(m_dir.filePath("system")).removeRecursively();
    }
    // Writes a launcher below "<folder>/applications"; its file.
    QString write(const QString &folder, const QString &relativePath, const QString &text)
    {
        QFile file(m_dir.filePath(folder + "/applications/" + relativePath));
        QDir().mkpath(QFileInfo(file).path());
        return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) ? file.fileName() : QString();
    }
    // Installs a launcher `id` whose program records its arguments, stays `seconds` and exits with
    // `exitCode`; "ended" is recorded last. `exec` replaces that program in the launcher's Exec=.
    void install(const QString &id, int exitCode, int seconds = 0, const QString &exec = {})
    {
        const QString script = m_dir.filePath(id + ".sh");
        QFile file(script);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$@\" >> '%1'\nsleep %3\n%4exit %2\n")
                       .arg(recordPath())
                       .arg(exitCode)
                       .arg(seconds)
                       .arg(seconds ? QStringLiteral("echo ended >> '%1'\n").arg(recordPath()) : QString())
                       .toUtf8());
        file.close();
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
        write("system", id,
              QStringLiteral("[Desktop Entry]\nType=Application\nName=Telefon\nExec=\"%1\" %u\n"
                             "MimeType=x-scheme-handler/tel;\n")
                  .arg(exec.isEmpty() ? script : exec));
    }
    QString recorded() const
    {
        QFile file(recordPath());
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

private:
    QString recordPath() const { return m_dir.filePath("record.txt"); }

    QTemporaryDir m_dir;
};

} // namespace quirlanto::test
