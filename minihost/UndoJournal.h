// The host's undo: every tool press and every command runs in one transaction; "undo changes" reverts the
// open transaction to its start; committed transactions form the Edit > Undo / Redo history.
//
// A transaction keeps, for each object it touched, the object's state before the first touch (or that the
// object did not exist yet). Reverting puts those states back, so it costs what the transaction touched,
// never what the document holds. Objects created inside a reverted transaction are gone: their handles are
// stale.
#pragma once

#include "Document.h"

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace minihost {

class UndoJournal : public ChangeObserver {
public:
    explicit UndoJournal(Document& doc);
    ~UndoJournal() override;

    void begin(const std::string& name);
    void commit();         // an empty transaction leaves no history entry
    void revertOpen();     // back to the open transaction's start; it stays open
    bool inTransaction() const { return open_.has_value(); }
    std::size_t touchedInOpen() const; // objects the open transaction touched

    void rename(const std::string& name); // the open transaction's name, as Edit > Undo shows it

    bool canUndo() const { return !undo_.empty(); }
    std::size_t undoCount() const { return undo_.size(); }
    std::size_t redoCount() const { return redo_.size(); }
    bool canRedo() const { return !redo_.empty(); }
    bool undo();
    bool redo();
    const std::string& undoName() const;

    void willChange(const Art& before) override;
    void didCreate(ObjectId id) override;
    void willDispose(std::unique_ptr<Art> removed) override;
    void willChangeLayer(const Layer& before) override;

private:
    struct Transaction {
        std::string name;
        std::unordered_map<ObjectId, std::unique_ptr<Art>> before; // null: did not exist
        std::unordered_map<ObjectId, Layer> layers;
        bool empty() const { return before.empty() && layers.empty(); }
    };
    // Puts a transaction's states into the document; returns the states it replaced.
    Transaction apply(Transaction& t);

    Document& doc_;
    std::optional<Transaction> open_;
    std::vector<Transaction> undo_, redo_;
    bool applying_ = false;
};

} // namespace minihost
