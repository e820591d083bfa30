#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <array>
#include <optional>

// The lists of \listtable and \listoverridetable and the counters of the page
// being read. A paragraph that only names its list (\ls, \ilvl) and carries no
// \listtext of its own shows the number or bullet its list level defines.
// Every table is bounded, so hostile definitions cost little memory.
class RtfListTable
{
public:
    static constexpr int Levels = 9;
    static constexpr int MaxLists = 1024;
    static constexpr int MaxStartAt = 32767;
    static constexpr int MaxLevelText = 255;

    struct Level
    {
        int format = 0; // \levelnfc
        int startAt = 1;
        int follow = 0; // \levelfollow: 0 a tab, 1 a space, 2 nothing
        // \leveltext with its placeholders: a character 0-8 stands for the
        // number of that level.
        QString text;
    };

    // Reading the tables: a list's levels come in order, then its \listid.
    void startList();
    void addLevel(const Level& level);
    void setListId(int id);
    void endList();
    // What an override changes of one level of its list: the number it
    // starts again at, from the override's first paragraph on, and the
    // level's whole definition (\listoverrideformat).
    struct LevelOverride
    {
        int level = 0;
        std::optional<int> startAt;
        std::optional<Level> format;
    };
    void addOverride(int override, int listId, const QList<LevelOverride>& levels = {});

    // The text a paragraph of list override `override` at `level` shows
    // before its own text; advances the counters, so call it once per
    // paragraph. Empty when the list or the level is not defined.
    QString nextNumber(int override, int level);

    static QString formatNumber(int value, int format);

private:
    static Level shown(Level level, qsizetype index);

    struct List
    {
        QList<Level> levels;
    };
    struct Override
    {
        int listId = 0;
        QList<std::pair<int, int>> starts;    // (level, number), applied at its first paragraph
        QList<std::pair<int, Level>> formats; // levels defined anew
        QList<Level> levels;                  // as shown, from its first paragraph on
        bool levelsKnown = false;
    };
    struct Counters
    {
        static constexpr int NotCounted = -1;
        Counters() { values.fill(NotCounted); }
        std::array<int, Levels> values;
    };

    List m_reading;
    int m_readingId = 0;
    bool m_readingOpen = false;
    QHash<int, List> m_lists;         // by \listid
    QHash<int, Override> m_overrides; // by \ls
    QHash<int, Counters> m_counters;
};
