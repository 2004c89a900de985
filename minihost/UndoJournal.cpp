#include "UndoJournal.h"

namespace minihost {

UndoJournal::UndoJournal(Document& doc) : doc_(doc)
{
    doc_.setObserver(this);
}

UndoJournal::~UndoJournal()
{
    if (doc_.observer() == this)
        doc_.setObserver(nullptr);
}

void UndoJournal::begin(const std::string& name)
{
    if (open_)
        commit();
    doc_.settleSelectionCounts(); // so that the transaction starts from a settled document
    open_.emplace();
    open_->name = name;
}

void UndoJournal::commit()
{
    if (!open_)
        return;
    doc_.settleSelectionCounts(); // counter changes still pending belong to this transaction
    if (!open_->empty()) {
        undo_.push_back(std::move(*open_));
        redo_.clear();
    }
    open_.reset();
}

void UndoJournal::rename(const std::string& name)
{
    if (open_)
        open_->name = name;
}

std::size_t UndoJournal::touchedInOpen() const
{
    return open_ ? open_->before.size() + open_->layers.size() : 0;
}

void UndoJournal::willChange(const Art& before)
{
    if (!open_ || applying_ || open_->before.count(before.id))
        return;
    open_->before.emplace(before.id, std::make_unique<Art>(before));
}

void UndoJournal::didCreate(ObjectId id)
{
    if (!open_ || applying_)
        return;
    open_->before.emplace(id, nullptr); // keeps an earlier record if the id was seen (it never is: ids are fresh)
}

void UndoJournal::willDispose(std::unique_ptr<Art> removed)
{
    if (!open_ || applying_)
        return;
    ObjectId id = removed->id;
    if (!open_->before.count(id))
        open_->before.emplace(id, std::move(removed));
}

void UndoJournal::willChangeLayer(const Layer& before)
{
    if (!open_ || applying_ || open_->layers.count(before.id))
        return;
    open_->layers.emplace(before.id, before);
}

UndoJournal::Transaction UndoJournal::apply(Transaction& t)
{
    Transaction replaced;
    replaced.name = t.name;
    applying_ = true;
    for (auto& [id, state] : t.before) {
        const Art* now = doc_.get(id);
        replaced.before.emplace(id, now ? std::make_unique<Art>(*now) : nullptr);
        if (state)
            doc_.restore(std::move(state));
        else
            doc_.forget(id);
    }
    for (auto& [id, layer] : t.layers) {
        if (const Layer* now = doc_.layer(id))
            replaced.layers.emplace(id, *now);
        doc_.restoreLayer(layer);
    }
    applying_ = false;
    t.before.clear();
    t.layers.clear();
    return replaced;
}

void UndoJournal::revertOpen()
{
    if (!open_)
        return;
    // The open transaction's states move straight into the document: nothing is copied.
    applying_ = true;
    for (auto& [id, state] : open_->before) {
        if (state)
            doc_.restore(std::move(state));
        else
            doc_.forget(id);
    }
    for (auto& [id, layer] : open_->layers)
        doc_.restoreLayer(layer);
    applying_ = false;
    doc_.dropPendingCounts(); // they were about changes that are now undone
    open_->before.clear();
    open_->layers.clear();
}

bool UndoJournal::undo()
{
    commit();
    doc_.settleSelectionCounts();
    if (undo_.empty())
        return false;
    Transaction t = std::move(undo_.back());
    undo_.pop_back();
    redo_.push_back(apply(t));
    return true;
}

bool UndoJournal::redo()
{
    commit();
    doc_.settleSelectionCounts();
    if (redo_.empty())
        return false;
    Transaction t = std::move(redo_.back());
    redo_.pop_back();
    undo_.push_back(apply(t));
    return true;
}

const std::string& UndoJournal::undoName() const
{
    static const std::string none;
    return undo_.empty() ? none : undo_.back().name;
}

} // namespace minihost
