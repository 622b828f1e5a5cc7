#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "link/IPort.h"

namespace tolvane {

// A port for --dry-run: it opens whatever it is asked to, hears nothing, and lets what would have
// gone to the device go nowhere.
class CDryRunPort : public IPort {
 public:
  void SetEventSink(IPortEvents*) override {}
  bool Open(int, int, int) override {
    m_bOpen = true;
    return true;
  }
  bool ApplySettings(const std::string&, std::string&) override { return true; }
  bool IsOpen() const override { return m_bOpen; }
  void Close() override { m_bOpen = false; }
  // The sender thread writes too.
  bool Write(const std::string&) override { return m_bOpen; }
  std::string ReadInput() override { return {}; }

 private:
  std::atomic<bool> m_bOpen{false};
};

// The one port the dry run pretends to have.
class CDryRunPortList : public IPortList {
 public:
  explicit CDryRunPortList(std::string caption) : m_strCaption(std::move(caption)) {}
  std::vector<std::string> ListPorts() override { return {m_strCaption}; }

 private:
  std::string m_strCaption;
};

}  // namespace tolvane
