#include "ui/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

QtTranslations::QtTranslations(QCoreApplication& app) : m_app(app) {}

QtTranslations::~QtTranslations()
{
    for (const auto& translator : m_translators)
        m_app.removeTranslator(translator.get());
}

QString QtTranslations::systemFolder()
{
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

bool QtTranslations::install(const QLocale& locale)
{
    return install(locale, systemFolder());
}

bool QtTranslations::install(const QLocale& locale, const QString& folder)
{
    // "qt_xx" only names "qtbase_xx" and the other modules' catalogues; where
    // it is missing, "qtbase_xx" alone still holds the buttons and dialogs.
    if (load(locale, QStringLiteral("qt"), folder))
        return true;
    return load(locale, QStringLiteral("qtbase"), folder);
}

bool QtTranslations::installLanguage(const QString& language)
{
    const QLocale locale(language);
    if (locale.language() == QLocale::English)
        return true;
    // A name QLocale does not know reads as the C locale, which has no catalogue.
    if (locale.language() == QLocale::C)
        return false;
    return install(locale);
}

bool QtTranslations::load(const QLocale& locale, const QString& name, const QString& folder)
{
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(locale, name, QStringLiteral("_"), folder))
        return false;
    if (!m_app.installTranslator(translator.get()))
        return false;
    m_translators.push_back(std::move(translator));
    return true;
}
