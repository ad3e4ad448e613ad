#pragma once

#include "catalogue/catalogueindex.h"
#include "store/cyclefolder.h"

#include <QList>
#include <QString>

#include <optional>
#include <utility>

namespace kvaro {

// One pass over an oven's listed files that reads each file only when the index knows
// nothing sound of it: the oven's records are taken from the index at the start and given
// back at the end with what was read meanwhile. Without an index, or with nothing to list,
// it holds nothing and every file is read.
class IndexedPass
{
public:
    IndexedPass(CatalogueIndex* index, const QString& ovenFolder, bool anythingListed)
    {
        if (!index || !anythingListed)
            return;
        m_index = index;
        m_known = index->take(ovenFolder);
        m_folder.emplace(ovenFolder);
    }
    IndexedPass(const IndexedPass&) = delete;
    IndexedPass& operator=(const IndexedPass&) = delete;

    // The records of the files, and the folder their stamps are taken in; null without
    // an index.
    const OvenIndex* known() const { return m_known ? &*m_known : nullptr; }
    const CycleFolder* folder() const { return m_folder ? &*m_folder : nullptr; }

    void count(bool read) { ++(read ? m_use.read : m_use.reused); }

    // Gives the records back. Figures read now are kept with the files they were read from,
    // through store(IndexedFile&, const Figures&); a file written moments ago may change
    // again unseen within its clock's tick, so it keeps none.
    template <class Figures, class Store>
    void giveBack(const QList<std::pair<QString, Figures>>& fresh, Store store)
    {
        if (!m_known)
            return;
        const qint64 now = m_index->now();
        bool changed = false;
        for (const auto& [file, figures] : fresh) {
            IndexedFile& indexed = m_known->files[m_known->position(file)];
            if (CatalogueIndex::settled(indexed.stamp, now)) {
                store(indexed, figures);
                changed = true;
            }
        }
        m_index->keep(std::move(*m_known), changed, m_use);
        m_known.reset();
    }

private:
    CatalogueIndex* m_index = nullptr;
    std::optional<OvenIndex> m_known;
    std::optional<CycleFolder> m_folder;
    CatalogueIndex::Use m_use;
};

} // namespace kvaro
