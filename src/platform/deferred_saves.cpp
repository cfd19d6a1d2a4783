#include "platform/deferred_saves.h"

#include <exception>
#include <vector>

#include "platform/message_boxes.h"

namespace vork {

namespace {

std::vector<TDeferredSave*>& Scheduled() {
  static std::vector<TDeferredSave*> stores;
  return stores;
}

}  // namespace

TDeferredSave::~TDeferredSave() { CancelScheduledSave(); }

void TDeferredSave::ScheduleSave() {
  if (scheduled_) return;
  Scheduled().push_back(this);
  scheduled_ = true;
}

void TDeferredSave::CancelScheduledSave() {
  if (!scheduled_) return;
  std::erase(Scheduled(), this);
  scheduled_ = false;
}

bool SaveDeferredChanges() {
  // Saving runs no events, so the stores taken here stay alive through the
  // loop. Failures are shown only after every store was tried and the failed
  // ones are scheduled again: the box runs an event loop, in which events may
  // schedule, save or destroy stores.
  std::vector<TDeferredSave*> due;
  due.swap(Scheduled());
  for (TDeferredSave* store : due) store->scheduled_ = false;
  std::vector<std::string> failures;
  bool all_saved = true;
  for (TDeferredSave* store : due) {
    try {
      store->SaveDeferred();
      store->last_failure_.clear();
    } catch (const std::exception& error) {
      all_saved = false;
      store->ScheduleSave();
      if (store->last_failure_ != error.what()) {
        store->last_failure_ = error.what();
        failures.push_back(error.what());
      }
    }
  }
  for (const std::string& failure : failures) ShowError(failure);
  return all_saved;
}

}  // namespace vork
