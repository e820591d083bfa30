#include "app_fixture.h"
#include "document/obscured_password.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

const QString kPrivacy = QStringLiteral("Privacy");
const QString kPassword = QStringLiteral("Password");

} // namespace

TEST(StartUp, ThePasswordIsAskedBeforeTheBookOrTheOptionsAreRead)
{
    AppFixture f;
    f.write(kPrivacy, kPassword, *ObscuredPassword::obscure(QStringLiteral("Ключ 7")));
    auto app = f.makeApp();
    bool asked = false;
    app->setLoginPrompt([&](Application& a) {
        asked = true;
        EXPECT_EQ(a.CurrentPassword(), QStringLiteral("Ключ 7"));
        EXPECT_FALSE(QFile::exists(f.dataFile()));
        EXPECT_EQ(a.book().PageCount(), 0);
        return true;
    });
    ASSERT_TRUE(app->StartUp());
    EXPECT_TRUE(asked);
    EXPECT_EQ(app->book().PageCount(), 14);
    EXPECT_TRUE(QFile::exists(f.dataFile()));
}

TEST(StartUp, APlainTextPasswordOfTheOldPlaceIsMovedAndAskedAtOnce)
{
    AppFixture f;
    f.write(QStringLiteral("Options"), QStringLiteral("FileLocation"), QStringLiteral("secret"));
    auto app = f.makeApp();
    QString asked;
    app->setLoginPrompt([&](Application& a) {
        asked = a.CurrentPassword();
        return true;
    });
    ASSERT_TRUE(app->StartUp());
    EXPECT_EQ(asked, QStringLiteral("secret"));
    EXPECT_EQ(app->settings().Read(kPrivacy, kPassword, {}), *ObscuredPassword::obscure("secret"));
    EXPECT_EQ(app->settings().Read(QStringLiteral("Options"), QStringLiteral("FileLocation"),
                                   QStringLiteral("<absent>")),
              QStringLiteral("<absent>"));
}

TEST(StartUp, WithoutAPasswordNobodyIsAsked)
{
    AppFixture f;
    auto app = f.makeApp();
    app->setLoginPrompt([](Application&) {
        ADD_FAILURE() << "no password is stored";
        return false;
    });
    EXPECT_TRUE(app->StartUp());
    EXPECT_TRUE(f.messages.entries().empty());
}

TEST(StartUp, ARefusedLoginEndsBeforeTheBookIsTouched)
{
    AppFixture f;
    f.write(kPrivacy, kPassword, *ObscuredPassword::obscure(QStringLiteral("x")));
    auto app = f.makeApp();
    app->setLoginPrompt([](Application&) { return false; });
    EXPECT_FALSE(app->StartUp());
    EXPECT_FALSE(QFile::exists(f.dataFile()));
    EXPECT_EQ(app->book().PageCount(), 0);
}

TEST(StartUp, ADamagedStoredPasswordNeverOpensTheBook)
{
    // Not hex, a digit lost from a real one.
    for (const QString& stored : {u"41zz"_qs, ObscuredPassword::obscure(u"abc"_qs)->chopped(1)}) {
        SCOPED_TRACE(stored.toStdString());
        AppFixture f;
        f.write(kPrivacy, kPassword, stored);
        auto app = f.makeApp();
        app->setLoginPrompt([](Application&) {
            ADD_FAILURE() << "a damaged password cannot be checked";
            return true;
        });
        EXPECT_FALSE(app->StartUp());
        ASSERT_EQ(f.messages.entries().size(), 1u);
        EXPECT_EQ(f.messages.entries()[0].icon, MessageService::Icon::Critical);
        EXPECT_TRUE(f.messages.texts()[0].contains(u"\"Privacy\", параметр \"Password\""_qs));
        EXPECT_FALSE(QFile::exists(f.dataFile()));
        EXPECT_EQ(f.read(kPrivacy, kPassword), stored) << "kept for its owner to look at";
    }
}
