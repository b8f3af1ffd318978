#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

namespace {

// The standard dialogs follow the desktop's language, read from the locale
// variables as a desktop session sets them.
TEST(DialogLanguageTest, OpenDialogButtonsFollowTheDesktopLocale)
{
    const struct
    {
        const char *Lang;
        QString Cancel;
    } rows[] = {{"ru_RU.UTF-8", QStringLiteral("Отмена")}, {"C.UTF-8", QStringLiteral("Cancel")}};
    for (const auto &r : rows) {
        SCOPED_TRACE(r.Lang);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"})
            env.remove(QString::fromLatin1(name));
        env.insert(QStringLiteral("LANG"), QString::fromLatin1(r.Lang));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        QProcess probe;
        probe.setProcessEnvironment(env);
        probe.start(QStringLiteral(KOV_DIALOG_LANGUAGE_PROBE), {});
        ASSERT_TRUE(probe.waitForFinished(60000));
        EXPECT_EQ(probe.exitCode(), 0);
        EXPECT_EQ(QString::fromUtf8(probe.readAllStandardOutput()), r.Cancel);
    }
}

} // namespace
