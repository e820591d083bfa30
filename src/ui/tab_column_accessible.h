#pragma once

#include <QAccessibleWidget>
#include <QHash>

class TabColumn;

// What a screen reader sees of the tab column: a page tab list whose
// children are the tabs, one per page, named by the page's title. The tabs
// are painted, not widgets, so each child is made when it is first asked
// for and lives as long as the column's interface.
class TabColumnAccessible : public QAccessibleWidget
{
public:
    explicit TabColumnAccessible(TabColumn* column);
    ~TabColumnAccessible() override;

    // Makes Qt's accessibility ask this class for every TabColumn.
    static void install();

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;

private:
    TabColumn* column() const;

    mutable QHash<int, QAccessible::Id> m_tabs;
};
