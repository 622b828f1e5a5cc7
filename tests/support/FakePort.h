#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "link/IPort.h"

namespace tolvane::testing {

// A scripted port: it can refuse an open, fail its settings or writes, feed received pieces and
// vanish. Writes may come from any thread; everything else from the test's (window's) thread.
class CFakePort : public IPort {
 public:
  void SetEventSink(IPortEvents* sink) override { m_sink = sink; }
  bool Open(int portNumber, int inBufferSize, int outBufferSize) override;
  bool ApplySettings(const std::string& settings, std::string& errorText) override;
  bool IsOpen() const override { return m_bOpen; }
  void Close() override;
  bool Write(const std::string& text) override;
  std::string ReadInput() override;
  COpenFailure LastOpenFailure() const override { return openFailure; }

  // Test side.
  void Feed(const std::string& piece);  // data arrives, the port tells the sink
  void Vanish();                        // the device goes away: the port closes and says so
  void Drop();                          // the port has closed, the loss not yet reported
  void ReportLost();
  std::vector<std::string> Writes() const;
  std::string WrittenText() const;
  void ClearWrites();

  bool refuseOpen = false;
  COpenFailure openFailure;   // what a refused open says of itself
  std::string settingsError;  // non-empty: ApplySettings fails with it
  bool failWrites = false;
  std::function<void(const std::string&)> onWrite;  // runs on the writing thread

  int openedPort = -1;
  int openedInBuffer = 0;
  int openedOutBuffer = 0;
  std::string appliedSettings;
  int openCount = 0;
  int closeCount = 0;

 private:
  IPortEvents* m_sink = nullptr;
  bool m_bOpen = false;
  std::string m_input;
  mutable std::mutex m_writesLock;
  std::vector<std::string> m_writes;
};

// The ports on offer, with what is known of each, and a memory of the last ready device by caption.
class CFakePortList : public IPortList {
 public:
  explicit CFakePortList(std::vector<std::string> initial = {}) : ports(std::move(initial)) {}
  std::vector<std::string> ListPorts() override;
  std::string PreferredPort() override { return preferred; }
  CPortIdentity IdentifyPort(const std::string& caption) override;
  void RememberPort(const std::string& caption) override;
  bool HasRememberedPort() override { return !remembered.empty(); }
  std::string RememberedPort() override { return m_strRememberedListed; }
  bool MayHaveChangedSinceListed() override { return changedSinceListed; }

  std::vector<std::string> ports;
  std::string preferred;
  std::map<std::string, CPortIdentity> identities;
  std::string remembered;
  int listCount = 0;
  bool changedSinceListed = true;

 private:
  std::string m_strRememberedListed;
};

}  // namespace tolvane::testing
