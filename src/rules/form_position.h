#pragma once

#include <QString>

class SettingsStore;

// A window's remembered placement in twips, kept in the section
// "StartUp-" + the window's name. A stored text that does not convert, or a
// state outside 0..2, or a size that is not positive, gives that key's default.
class FormPosition
{
public:
    enum State
    {
        Normal = 0,
        Minimized = 1,
        Maximized = 2
    };

    // `defaults` stands for whatever is not stored, or not usable.
    static FormPosition read(const SettingsStore& store, const QString& formName,
                             const FormPosition& defaults);
    static FormPosition read(const SettingsStore& store, const QString& formName)
    {
        return read(store, formName, FormPosition());
    }
    void write(SettingsStore& store, const QString& formName) const;

    static QString section(const QString& formName);

    int windowState = Normal;
    double left = 0;
    double top = 0;
    double width = 5000;
    double height = 4000;
};
