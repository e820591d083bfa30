#include "ui/form_localizer.h"

#include "core/localization.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QTabWidget>
#include <QWidget>

namespace {

// Line breaks in the file arrive as CR LF; Qt widgets break at "\n" alone.
QString forWidget(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

// Qt names some of its own internal children; they are not ours to translate.
bool isOwnObject(const QObject* object)
{
    const QString name = object->objectName();
    return !name.isEmpty() && !name.startsWith(QLatin1String("qt_"));
}

template <typename Getter, typename Setter>
void lookUp(const QString& section, const QString& key, Localization& localization, Getter get,
            Setter set)
{
    const QString current = get();
    if (current.isEmpty())
        return;
    set(forWidget(localization.localizedEntry(section, key, current)));
}

} // namespace

void FormLocalizer::localize(QWidget* window, Localization& localization,
                             const QString& captionMode, Tags tags)
{
    const QString section = window->objectName();
    if (section.isEmpty())
        return;
    lookUp(
        section, QLatin1Char('@') + captionMode, localization,
        [window] { return window->windowTitle(); },
        [window](const QString& text) { window->setWindowTitle(text); });
    for (QObject* object : window->findChildren<QObject*>()) {
        // Items a control array makes at run time (colours, sizes) take their
        // captions from their own rules; one entry would give them all one.
        if (!isOwnObject(object) || object->property("Index").isValid())
            continue;
        localizeCaption(object, section, localization);
        if (tags == Tags::Localize)
            localizeTag(object, section, localization);
    }
}

void FormLocalizer::localizeCaption(QObject* object, const QString& section,
                                    Localization& localization)
{
    const QString key = object->objectName();
    if (auto* label = qobject_cast<QLabel*>(object)) {
        lookUp(
            section, key, localization, [label] { return label->text(); },
            [label](const QString& text) {
                label->setText(text);
                nameByLabel(label);
            });
    } else if (auto* button = qobject_cast<QAbstractButton*>(object)) {
        lookUp(
            section, key, localization, [button] { return button->text(); },
            [button](const QString& text) { button->setText(text); });
    } else if (auto* group = qobject_cast<QGroupBox*>(object)) {
        lookUp(
            section, key, localization, [group] { return group->title(); },
            [group](const QString& text) { group->setTitle(text); });
    } else if (auto* menu = qobject_cast<QMenu*>(object)) {
        lookUp(
            section, key, localization, [menu] { return menu->title(); },
            [menu](const QString& text) { menu->setTitle(text); });
    } else if (auto* action = qobject_cast<QAction*>(object)) {
        lookUp(
            section, key, localization, [action] { return action->text(); },
            [action](const QString& text) { action->setText(text); });
    } else if (auto* tabs = qobject_cast<QTabWidget*>(object)) {
        // A tab's text belongs to its page.
        for (int i = 0; i < tabs->count(); ++i) {
            QWidget* page = tabs->widget(i);
            if (!isOwnObject(page))
                continue;
            lookUp(
                section, page->objectName(), localization, [tabs, i] { return tabs->tabText(i); },
                [tabs, i](const QString& text) { tabs->setTabText(i, text); });
        }
    }
}

void FormLocalizer::localizeTag(QObject* object, const QString& section, Localization& localization)
{
    const QVariant tag = object->property("Tag");
    if (!tag.isValid() || tag.toString().isEmpty())
        return;
    object->setProperty(
        "Tag", localization.localizedEntry(section, object->objectName() + QLatin1String(".Tag"),
                                             tag.toString()));
}

void FormLocalizer::nameByLabel(const QLabel* label)
{
    auto* list = qobject_cast<QAbstractItemView*>(label->buddy());
    if (!list)
        return;
    static const QRegularExpression mark(QStringLiteral("&(.)"));
    list->setAccessibleName(QString(label->text()).replace(mark, QStringLiteral("\\1")));
}
