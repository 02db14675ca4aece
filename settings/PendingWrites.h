#pragma once

#include "Settings.h"

#include <QString>

#include <optional>
#include <tuple>
#include <vector>

// The writes the disk refused, and entries read out of a damaged file, oldest first: the next write
// takes them all along, in order, in its own transaction. Reads see their entries (the latest one
// wins). An entry replaced by a later kept write is dropped from the older one, and a write left with
// nothing to do goes with it, so a long failure streak keeps one value per entry; statements are never
// dropped, since each must still run once, in its place.
class PendingWrites
{
public:
    struct Entry
    {
        QString application;
        QString section;
        QString key;
        QString value;
    };
    // Application, section and key as they are compared: Unicode case folding.
    using FoldedKey = std::tuple<QString, QString, QString>;
    // One write as it is kept until the disk takes it: its entries (with their folded names) and the
    // statements that must commit with them.
    struct Write
    {
        std::vector<Entry> entries;
        std::vector<FoldedKey> keys;
        QList<AttachedStatement> statements;
        bool countedTry = false;
    };

    static QString foldName(const QString &name) { return name.toCaseFolded(); }
    static FoldedKey foldedKey(const Entry &entry);
    static Write makeWrite(std::vector<Entry> entries, QList<AttachedStatement> statements = {});

    // The latest kept value of the entry, if any is kept.
    std::optional<QString> lookup(const FoldedKey &key) const;
    // Keeps write as the newest.
    void keep(Write write);
    // Keeps write as the oldest (entries saved from a damaged file), without the entries that a
    // newer kept write holds.
    void keepOldest(Write write);

    bool empty() const { return m_writes.empty(); }
    void clear() { m_writes.clear(); }
    const std::vector<Write> &writes() const { return m_writes; }

private:
    std::vector<Write> m_writes;
};
