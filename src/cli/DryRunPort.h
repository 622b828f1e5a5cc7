#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "link/IPort.h"

namespace tolvane {

// A port for --dry-run: it opens whatever it is asked to, hears nothing, and keeps what would have
// gone to the device instead of sending it.
class CDryRunPort : public IPort {
 public:
  void SetEventSink(IPortEvents*) override {}
  bool Open(int, int, int) override;
  bool ApplySettings(const std::string&, std::string&) override { return true; }
  bool IsOpen() const override;
  void Close() override;
  bool Write(const std::string& text) override;
  std::string ReadInput() override { return {}; }

  std::vector<std::string> Writes() const;

 private:
  mutable std::mutex m_lock;  // the sender thread writes too
  bool m_bOpen = false;
  std::vector<std::string> m_writes;
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
