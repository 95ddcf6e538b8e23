// A temporary XDG home in which a launcher that records its argument becomes the desktop's tel:
// handler, for the real xdg-open.
#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace quirlanto::test {

class TelHandlerHome {
public:
    // Points the XDG variables of this process into the folder.
    void enter()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(QDir().mkpath(m_dir.filePath("data/applications")));
        QVERIFY(QDir().mkpath(m_dir.filePath("config")));
        qputenv("XDG_DATA_HOME", m_dir.filePath("data").toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", m_dir.filePath("config").toLocal8Bit());
        qputenv("XDG_DATA_DIRS", m_dir.filePath("none").toLocal8Bit());
        qputenv("XDG_CONFIG_DIRS", m_dir.filePath("none").toLocal8Bit());
        qunsetenv("XDG_CURRENT_DESKTOP");
        qunsetenv("DE");
        // Without a display xdg-open only tries text browsers.
        qputenv("DISPLAY", ":0");
    }
    // No handler and nothing recorded.
    void clear()
    {
        QFile::remove(recordPath());
        QFile::remove(m_dir.filePath("config/mimeapps.list"));
        QDir applications(m_dir.filePath("data/applications"));
        for (const QString &name : applications.entryList(QDir::Files))
            applications.remove(name);
    }
    // Installs a launcher `id` whose program records its argument, stays `seconds` and exits with
    // `exitCode`; "ended" is recorded last. `exec` replaces that program in the launcher's Exec=.
    void install(const QString &id, int exitCode, int seconds = 0, const QString &exec = {})
    {
        const QString script = m_dir.filePath(id + ".sh");
        QFile file(script);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$1\" >> '%1'\nsleep %3\n%4exit %2\n")
                       .arg(recordPath())
                       .arg(exitCode)
                       .arg(seconds)
                       .arg(seconds ? QStringLiteral("echo ended >> '%1'\n").arg(recordPath()) : QString())
                       .toUtf8());
        file.close();
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
        QFile desktop(m_dir.filePath("data/applications/" + id));
        QVERIFY(desktop.open(QIODevice::WriteOnly));
        desktop.write(QStringLiteral("[Desktop Entry]\nType=Application\nName=Telefon\nExec=%1 %u\n"
                                     "MimeType=x-scheme-handler/tel;\n")
                          .arg(exec.isEmpty() ? script : exec)
                          .toUtf8());
        desktop.close();
        QCOMPARE(QProcess::execute("xdg-mime", {"default", id, "x-scheme-handler/tel"}), 0);
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
