// The saver on every monitor: beside the lead window (the first screen, whose run loop is the
// session's), one saver window per other screen, each with its own context, engine and run loop.
// Those loops run on lockstep threads, one turn at every event dispatch of the lead's loop, so
// all of them start and stop together and input on any screen ends all. Screens added, removed,
// moved or resized while the saver runs get, lose or renew their window.
#pragma once

#include <QObject>
#include <cstdint>
#include <memory>
#include <vector>

class QScreen;

namespace qsrn {

class HostSession;
class SaverWindow;

class SaverScreens : public QObject {
  Q_OBJECT
 public:
  SaverScreens(HostSession& session, SaverWindow& lead);
  // Stops every other screen's loop and closes its window.
  ~SaverScreens() override;

  // A window on every screen but the lead's.
  void CoverOtherScreens();
  // Every other screen's loop runs up to its next event dispatch; its frame is then shown.
  // frameTick: when the first screen's current frame began (the other loops' clock).
  void TurnAll(uint32_t frameTick);
  size_t count() const { return others_.size(); }

 private:
  struct Other;
  // A window on every screen but the lead's, exactly covering it, and no other.
  void Follow();
  void Drop(size_t index);

  HostSession& session_;
  SaverWindow& lead_;
  std::vector<std::unique_ptr<Other>> others_;
  bool following_ = false;
  bool again_ = false;
};

}  // namespace qsrn
