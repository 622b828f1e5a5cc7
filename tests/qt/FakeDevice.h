#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "link/IPort.h"

namespace tolvane::qttest {

// A port whose device is the test: text is fed on the window's thread, writes are recorded from
// any thread.
class CFakePort : public IPort {
 public:
  void SetEventSink(IPortEvents* sink) override { m_sink = sink; }
  std::string GetSettings() const override { return "921600,n,8,1"; }
  int GetInBufferSize() const override { return 2048; }
  int GetOutBufferSize() const override { return 1024; }
  bool Open(int portNumber, int inBufferSize, int outBufferSize) override;
  bool ApplySettings(const std::string&, std::string&) override { return true; }
  bool IsOpen() const override { return m_bOpen; }
  void Close() override;
  bool Write(const std::string& text) override;
  std::string ReadInput() override;

  // Text arrives from the device; the port tells the logic at once.
  void Feed(const std::string& text);
  std::vector<std::string> Written() const;

  bool refuseOpen = false;
  int openCalls = 0;
  int closeCalls = 0;
  int lastOpenedPort = 0;

 private:
  IPortEvents* m_sink = nullptr;
  bool m_bOpen = false;
  std::string m_input;
  mutable std::mutex m_writtenLock;
  std::vector<std::string> m_written;
};

class CFakePortList : public IPortList {
 public:
  explicit CFakePortList(std::vector<std::string> ports = {}) : m_ports(std::move(ports)) {}
  std::vector<std::string> ListPorts() override { return m_ports; }

 private:
  std::vector<std::string> m_ports;
};

}  // namespace tolvane::qttest
