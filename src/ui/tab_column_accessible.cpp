#include "ui/tab_column_accessible.h"

#include "ui/tab_column.h"

#include <QPointer>
#include <QWindow>

namespace {

// Tab k of a column: a page tab, selected when its page is open.
class TabAccessible : public QAccessibleInterface
{
public:
    TabAccessible(TabColumn* column, int k) : m_column(column), m_k(k) {}

    bool isValid() const override { return m_column && m_k <= m_column->pageCount(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override
    {
        return m_column ? m_column->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_column.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return {};
        if (t == QAccessible::Name)
            return m_column->titleOf(m_k);
        if (t == QAccessible::Description)
            return m_column->tabDescription().arg(QString::number(m_k),
                                                  QString::number(m_column->pageCount()));
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect tab = m_column->tabRect(m_k);
        return {m_column->mapToGlobal(tab.topLeft()), tab.size()};
    }
    QAccessible::Role role() const override { return QAccessible::PageTab; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.selectable = true;
        if (!isValid())
            return state;
        state.selected = m_k == m_column->currentPage();
        state.invisible = !m_column->isVisible();
        state.offscreen = !m_column->rect().intersects(m_column->tabRect(m_k));
        return state;
    }
    int page() const { return m_k; }

private:
    QPointer<TabColumn> m_column;
    int m_k;
};

QAccessibleInterface* forTabColumn(const QString& className, QObject* object)
{
    if (className != QLatin1String("TabColumn") || !object || !object->isWidgetType())
        return nullptr;
    return new TabColumnAccessible(static_cast<TabColumn*>(object));
}

} // namespace

TabColumnAccessible::TabColumnAccessible(TabColumn* column)
    : QAccessibleWidget(column, QAccessible::PageTabList)
{}

TabColumnAccessible::~TabColumnAccessible()
{
    for (const QAccessible::Id id : std::as_const(m_tabs))
        QAccessible::deleteAccessibleInterface(id);
}

void TabColumnAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(forTabColumn);
        return true;
    }();
    Q_UNUSED(installed);
}

TabColumn* TabColumnAccessible::column() const
{
    return static_cast<TabColumn*>(widget());
}

int TabColumnAccessible::childCount() const
{
    return column()->pageCount();
}

QAccessibleInterface* TabColumnAccessible::child(int index) const
{
    const int k = index + 1;
    if (k < 1 || k > column()->pageCount())
        return nullptr;
    const auto known = m_tabs.constFind(k);
    if (known != m_tabs.cend())
        return QAccessible::accessibleInterface(*known);
    auto* tab = new TabAccessible(column(), k);
    m_tabs.insert(k, QAccessible::registerAccessibleInterface(tab));
    return tab;
}

int TabColumnAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    if (!child || child->role() != QAccessible::PageTab || child->parent() != this)
        return -1;
    return static_cast<const TabAccessible*>(child)->page() - 1;
}

QAccessibleInterface* TabColumnAccessible::childAt(int x, int y) const
{
    const int k = column()->tabAt(column()->mapFromGlobal(QPoint(x, y)));
    return k == 0 ? nullptr : child(k - 1);
}
