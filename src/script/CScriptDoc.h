#pragma once

#include "CDocument.h"
#include "CScriptEntry.h"

#include <QList>

// A presentation script: an ordered list of titled addresses, the position of the entry Push
// Next sends next, the script file (".vns") and its text export. The entry commands work on the
// rows selected in the script's list, which the list keeps current here.
class CScriptDoc : public CDocument
{
    Q_OBJECT
public:
    CScriptDoc();

    const QList<CScriptEntry> &Entries() const { return m_entries; }
    int EntryCount() const { return static_cast<int>(m_entries.size()); }
    // The entry at the zero-based position; null when there is none.
    const CScriptEntry *GetEntry(int position) const;
    // Appends the entry and marks the script modified; the current index stays.
    void AddEntry(const CScriptEntry &entry);

    // Zero-based; 0 when the script is made or loaded, never saved.
    int CurrentIndex() const { return m_nCurrent; }
    void SetCurrentIndex(int index) { m_nCurrent = index; }

    // The selected rows of the script's list, top to bottom.
    const QList<int> &Selection() const { return m_selection; }
    void SetSelection(const QList<int> &rows) { m_selection = rows; }

    void OnAddEntry();
    void OnRemove();
    void OnProperties();
    void OnExport();

    void Serialize(CArchive &archive) override;
    void DeleteContents() override;
    // Every successful save lets the navigation tree show the scripts' titles again.
    bool DoSave(const QString &path) override;

Q_SIGNALS:
    // The entries or the current index changed: the views redraw.
    void Changed();
    // Saved, possibly under a new name.
    void Saved();

private:
    void RegisterCommands();
    // The one selected position; none unless exactly one row is selected.
    int SingleSelection() const;
    void UpdateAllViews();

    QList<CScriptEntry> m_entries;
    int m_nCurrent = 0;
    QList<int> m_selection;
};
