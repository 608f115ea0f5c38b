// Lets the host's other threads (automation, MIDI learn) set control values
// without racing the window's opening and closing: they use the controls only
// between opened() and closing(), and closing() waits until none is inside.
// The audio side never blocks; only the user-interface thread may wait, for
// the few instructions a control update takes.
#pragma once

#include <atomic>
#include <thread>

class ControlGate {
 public:
  // Sequentially consistent on purpose: the visitor's count and the closer's
  // flag form a two-sided handshake that weaker orderings would not protect.
  bool enter() {
    inside.fetch_add(1);
    return live.load();
  }
  void leave() { inside.fetch_sub(1); }

  void opened() { live.store(true); }
  void closing() {
    live.store(false);
    while (inside.load() != 0) std::this_thread::yield();
  }

 private:
  std::atomic<int> inside{0};
  std::atomic<bool> live{false};
};

// One visit of the controls from any thread.
class ControlVisit {
 public:
  explicit ControlVisit(ControlGate& gate) : gate(gate), allowed(gate.enter()) {}
  ~ControlVisit() { gate.leave(); }
  ControlVisit(const ControlVisit&) = delete;
  ControlVisit& operator=(const ControlVisit&) = delete;
  explicit operator bool() const { return allowed; }

 private:
  ControlGate& gate;
  bool allowed;
};
