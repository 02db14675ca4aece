#include "PendingWrites.h"

#include <algorithm>

PendingWrites::FoldedKey PendingWrites::foldedKey(const Entry &entry)
{
    return {foldName(entry.application), foldName(entry.section), foldName(entry.key)};
}

PendingWrites::Write PendingWrites::makeWrite(std::vector<Entry> entries, QList<AttachedStatement> statements)
{
    Write write{std::move(entries), {}, std::move(statements)};
    write.keys.reserve(write.entries.size());
    for (const Entry &entry : write.entries)
        write.keys.push_back(foldedKey(entry));
    return write;
}

std::optional<QString> PendingWrites::lookup(const FoldedKey &key) const
{
    for (auto write = m_writes.rbegin(); write != m_writes.rend(); ++write) {
        for (size_t i = write->keys.size(); i-- > 0;) {
            if (write->keys[i] == key)
                return write->entries[i].value;
        }
    }
    return std::nullopt;
}

void PendingWrites::keep(Write write)
{
    for (auto older = m_writes.begin(); older != m_writes.end();) {
        for (size_t i = older->keys.size(); i-- > 0;) {
            if (std::find(write.keys.begin(), write.keys.end(), older->keys[i]) != write.keys.end()) {
                older->keys.erase(older->keys.begin() + qsizetype(i));
                older->entries.erase(older->entries.begin() + qsizetype(i));
            }
        }
        if (older->entries.empty() && older->statements.isEmpty())
            older = m_writes.erase(older);
        else
            ++older;
    }
    m_writes.push_back(std::move(write));
}

void PendingWrites::keepOldest(Write write)
{
    for (const Write &newer : m_writes) {
        for (const FoldedKey &key : newer.keys) {
            const auto found = std::find(write.keys.begin(), write.keys.end(), key);
            if (found != write.keys.end()) {
                write.entries.erase(write.entries.begin() + (found - write.keys.begin()));
                write.keys.erase(found);
            }
        }
    }
    m_writes.insert(m_writes.begin(), std::move(write));
}
