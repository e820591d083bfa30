#pragma once

#include <QList>
#include <QString>
#include <array>

// The texts and the colour band of `frmAbout` that need no window.
class AboutRules
{
public:
    struct Rgb
    {
        int red = 0;
        int green = 0;
        int blue = 0;
        friend bool operator==(const Rgb&, const Rgb&) = default;
    };
    using Color = std::array<float, 3>; // red, green, blue, 0 to 255

    // The release stage the revision's first digit names: 1 alpha, 2 beta,
    // nothing else. "%no" in the stage's text becomes the second digit and a
    // space, so 1205 with "альфа %no" gives "альфа 2 ".
    static QString stageText(int revision, const QString& alpha, const QString& beta);
    // `pattern` with "%major", "%minor", "%build" (the revision's last two
    // digits as a number) and "%inter" (the stage text) filled in.
    static QString versionCaption(QString pattern, int major, int minor, int revision,
                                  const QString& stage);
    // The mailto link of the feedback label: subject and body percent-encoded,
    // the body's lines ending in CR LF.
    static QString feedbackLink(const QString& address, const QString& subject,
                                const QString& body);
    // One colour per column of a band `width` pixels wide, stepping evenly
    // from `from`; each is the running colour rounded half to even.
    static QList<Rgb> gradient(const Color& from, const Color& to, int width);
};
