// The tray menu's options: their order, where they are kept, the autostart
// entry they write, and what happens when a folder cannot be written.
#include "formfixture.h"
#include "monitor/changealerts.h"
#include "monitor/form2.h"
#include "monitor/startatlogin.h"
#include "monitor/trayoptions.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

// Each test its own config folder, as the user's.
class TrayOptions : public WindowFixture,
                    public ::testing::TestWithParam<testing_support::ProgramUnderTest> {
protected:
    void SetUp() override {
        ASSERT_TRUE(config.isValid());
        saved = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
        program = GetParam().make();
    }
    void TearDown() override {
        form.reset();
        qputenv("XDG_CONFIG_HOME", saved);
    }
    void start() { open(program); }
    QAction* notifyItem() const { return form->trayOptions()->notifyItem(); }
    QAction* startItem() const { return form->trayOptions()->startItem(); }
    QString entryPath() const {
        return config.filePath("autostart/" + program.name.toLower() + ".desktop");
    }
    QString settingsPath() const {
        return config.filePath(program.name + "/" + program.name + ".conf");
    }
    QStringList messages() const { return fakes.gdi.calls("MessageBoxA"); }
    static QByteArray read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // Stands in a file where a folder must go: nobody, not even root, can
    // write into it.
    void blockFolder(const QString& path) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }

    QTemporaryDir config;
    QByteArray saved;
};

TEST_P(TrayOptions, TwoCheckableItemsAboveExitBothOffByDefault) {
    start();
    QList<QAction*> items = form->form2()->mnupopup()->actions();
    items.removeIf([](QAction* a) { return a->isSeparator(); });
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]->text(), "Notify me of changes");
    EXPECT_EQ(items[1]->text(), "Start at login");
    EXPECT_EQ(items[2]->objectName(), program.roles.exitItem);
    EXPECT_EQ(items[0], notifyItem());
    EXPECT_EQ(items[1], startItem());
    for (QAction* item : {items[0], items[1]}) {
        EXPECT_TRUE(item->isCheckable());
        EXPECT_FALSE(item->isChecked());
    }
    EXPECT_FALSE(items[2]->isCheckable());
    EXPECT_FALSE(form->alerts()->enabled());
    EXPECT_FALSE(QFile::exists(settingsPath())) << "nothing written before the user chooses";
    EXPECT_FALSE(QFile::exists(entryPath()));
}

TEST_P(TrayOptions, TheNotifySettingIsKeptAndReadAtStartUp) {
    start();
    notifyItem()->trigger();
    ASSERT_TRUE(notifyItem()->isChecked());
    EXPECT_TRUE(form->alerts()->enabled());
    EXPECT_TRUE(QSettings(settingsPath(), QSettings::IniFormat).value("notifyOfChanges").toBool());

    form.reset();
    start(); // the next start-up
    EXPECT_TRUE(notifyItem()->isChecked());
    EXPECT_TRUE(form->alerts()->enabled());
    notifyItem()->trigger();
    form.reset();
    start();
    EXPECT_FALSE(notifyItem()->isChecked());
    EXPECT_FALSE(form->alerts()->enabled());
    EXPECT_TRUE(messages().isEmpty());
}

TEST_P(TrayOptions, StartAtLoginWritesTheInstalledEntryRunningThisBinaryAndRemovesIt) {
    start();
    startItem()->trigger();
    ASSERT_TRUE(startItem()->isChecked());
    const QByteArray installed = read(program.desktopEntry);
    ASSERT_FALSE(installed.isEmpty());
    const QByteArray written = read(entryPath());
    // Line for line the installed entry, but Exec runs the program running now.
    const QByteArrayList a = installed.split('\n'), b = written.split('\n');
    ASSERT_EQ(a.size(), b.size());
    int execs = 0;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i].startsWith("Exec=")) {
            ++execs;
            EXPECT_EQ(b[i],
                      "Exec=" +
                          monitor::execArgument(QCoreApplication::applicationFilePath()).toUtf8());
        } else {
            EXPECT_EQ(a[i], b[i]);
        }
    }
    EXPECT_EQ(execs, 1);
    EXPECT_TRUE(QSettings(settingsPath(), QSettings::IniFormat).value("startAtLogin").toBool());

    form.reset();
    start();
    EXPECT_TRUE(startItem()->isChecked()) << "read from the folder at start-up";
    // Removed by hand: the menu shows it off when it next opens.
    ASSERT_TRUE(QFile::remove(entryPath()));
    emit form->form2()->mnupopup()->aboutToShow();
    EXPECT_FALSE(startItem()->isChecked());
    startItem()->trigger();
    ASSERT_TRUE(QFile::exists(entryPath()));
    startItem()->trigger();
    EXPECT_FALSE(startItem()->isChecked());
    EXPECT_FALSE(QFile::exists(entryPath()));
    EXPECT_FALSE(QSettings(settingsPath(), QSettings::IniFormat).value("startAtLogin").toBool());
    EXPECT_TRUE(messages().isEmpty());
}

TEST_P(TrayOptions, AnUnwritableFolderSaysSoOnceAndTheItemGoesBack) {
    blockFolder(config.filePath("autostart"));
    blockFolder(config.filePath(program.name));
    start();
    startItem()->trigger();
    EXPECT_FALSE(startItem()->isChecked());
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages()[0].contains("Start at login")) << qPrintable(messages()[0]);
    EXPECT_TRUE(messages()[0].contains(config.filePath("autostart")));

    notifyItem()->trigger();
    EXPECT_FALSE(notifyItem()->isChecked());
    EXPECT_FALSE(form->alerts()->enabled());
    ASSERT_EQ(messages().size(), 2);
    EXPECT_TRUE(messages()[1].contains("Notify me of changes")) << qPrintable(messages()[1]);

    // The autostart folder writable but not the settings: the entry is not
    // left behind either.
    ASSERT_TRUE(QFile::remove(config.filePath("autostart")));
    startItem()->trigger();
    EXPECT_FALSE(startItem()->isChecked());
    EXPECT_FALSE(QFile::exists(entryPath()));
    EXPECT_EQ(messages().size(), 3);

    // Turning off an entry that cannot be removed keeps it on.
    ASSERT_TRUE(QFile::remove(config.filePath(program.name)));
    startItem()->trigger();
    ASSERT_TRUE(startItem()->isChecked());
    ASSERT_TRUE(QDir().rename(config.filePath(program.name), config.filePath("moved")));
    blockFolder(config.filePath(program.name));
    startItem()->trigger();
    EXPECT_TRUE(startItem()->isChecked());
    EXPECT_TRUE(QFile::exists(entryPath())) << "put back when the setting could not follow";
    EXPECT_EQ(messages().size(), 4);
}

INSTANTIATE_TEST_SUITE_P(Programs, TrayOptions,
                         ::testing::ValuesIn(testing_support::programsUnderTest()),
                         testing_support::programName);

// Exec's argument survives any path, as a desktop entry validator reads it.
TEST(StartAtLogin, EntriesForAwkwardPathsAreValidDesktopEntries) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray entry = "[Desktop Entry]\nType=Application\nName=Tallowbar\nExec=tallowbar\n"
                             "Icon=tallowbar\nTerminal=false\nCategories=Network;Monitor;\n";
    const QStringList binaries = {"/usr/bin/tallowbar", "/opt/my games/tallowbar",
                                  "/home/o'neil/$HOME/\"x\"/a\\b/100%/tallowbar"};
    for (const QString& binary : binaries) {
        const monitor::StartAtLogin s(dir.path(), "tallowbar.desktop", entry, binary);
        ASSERT_EQ(s.enable(), QString());
        ASSERT_TRUE(s.present());
        QProcess validate;
        validate.start("desktop-file-validate", {s.path()});
        ASSERT_TRUE(validate.waitForFinished(10000));
        EXPECT_EQ(validate.exitCode(), 0)
            << qPrintable(binary) << ": " << validate.readAll().toStdString();
        ASSERT_EQ(s.disable(), QString());
        EXPECT_FALSE(s.present());
    }
    EXPECT_EQ(monitor::execArgument("/usr/bin/tallowbar"), "/usr/bin/tallowbar");
    EXPECT_EQ(monitor::execArgument("/opt/my games/x"), "\"/opt/my games/x\"");
    EXPECT_EQ(monitor::execArgument("/a$b/100%"), "\"/a\\\\$b/100%%\"");
}

} // namespace
