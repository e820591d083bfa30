#pragma once

#include <QLocale>
#include <QString>
#include <memory>
#include <vector>

class QCoreApplication;
class QTranslator;

// Qt's own texts (standard buttons, the file, font, colour and print dialogs)
// in the language of the interface. The catalogues stay installed for as long
// as this object lives.
class QtTranslations
{
public:
    explicit QtTranslations(QCoreApplication& app);
    ~QtTranslations();
    QtTranslations(const QtTranslations&) = delete;
    QtTranslations& operator=(const QtTranslations&) = delete;

    // The interface is Russian unless a caller says otherwise. Returns whether
    // a catalogue was found; without one Qt keeps its English texts.
    bool install(const QLocale& locale = QLocale(QLocale::Russian, QLocale::Russia));
    bool install(const QLocale& locale, const QString& folder);
    // Qt's texts in `language`, a locale name such as "ru" or "de_AT", from
    // the system's catalogues. English is Qt's own and needs none. Returns
    // whether Qt speaks that language now.
    bool installLanguage(const QString& language);

    static QString systemFolder();

private:
    bool load(const QLocale& locale, const QString& name, const QString& folder);

    QCoreApplication& m_app;
    std::vector<std::unique_ptr<QTranslator>> m_translators;
};
