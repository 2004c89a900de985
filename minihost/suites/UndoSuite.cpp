// Undo inside a transaction: a tool reverts the edits of its previous drag step with UndoChanges, so a
// whole press stays one step of the Edit > Undo history.
#include "SuiteSupport_p.h"
#include "Suites_p.h"

namespace minihost::suites {

namespace {

CCErr UndoChanges()
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    UndoJournal* journal = host->currentJournal();
    if (!journal)
        return kCCNoDocumentErr;
    if (!journal->inTransaction())
        return kCCCantErr; // only the host's own messages run in transactions
    return guarded([&] {
        journal->revertOpen();
        return kCCNoErr;
    });
}

CCErr SetUndoText(const char* undoText, const char* redoText)
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    if (!undoText || !redoText)
        return kCCBadParameterErr;
    UndoJournal* journal = host->currentJournal();
    if (!journal)
        return kCCNoDocumentErr;
    return guarded([&] {
        journal->rename(undoText);
        return kCCNoErr;
    });
}

CCErr CountTransactions(int32_t* past, int32_t* future)
{
    Host::Impl* host = currentImpl();
    if (!host)
        return kCCCantErr;
    if (!past || !future)
        return kCCBadParameterErr;
    UndoJournal* journal = host->currentJournal();
    if (!journal)
        return kCCNoDocumentErr;
    *past = static_cast<int32_t>(journal->undoCount());
    *future = static_cast<int32_t>(journal->redoCount());
    return kCCNoErr;
}

} // namespace

const CCUndoSuite& undo()
{
    static const CCUndoSuite table{UndoChanges, SetUndoText, CountTransactions};
    return table;
}

} // namespace minihost::suites
