#pragma once

#include <QString>

class Localization;
class QLabel;
class QObject;
class QWidget;

// Gives a window the texts of the localization file: the window's name is the
// section, each object's name the key and its current caption the default,
// so a missing file changes nothing. Items of a control array share one
// object name and therefore one entry; items made at run time carry their
// "Index" property and are left to the rules that captioned them.
class FormLocalizer
{
public:
    enum class Tags
    {
        Keep,
        Localize
    };

    // The window caption uses the key "@", or "@" + captionMode for a window
    // with several roles; with Tags::Localize the dynamic property "Tag" of
    // each object is looked up under its name + ".Tag".
    static void localize(QWidget* window, Localization& localization,
                         const QString& captionMode = {}, Tags tags = Tags::Keep);

    // Lists and trees take no name for screen readers from the label that
    // points to them, as other controls do; this gives a label's buddy of
    // that kind the label's text, without its mnemonic mark.
    static void nameByLabel(const QLabel* label);

private:
    static void localizeCaption(QObject* object, const QString& section,
                                Localization& localization);
    static void localizeTag(QObject* object, const QString& section, Localization& localization);
};
