#pragma once

#include <memory>
#include <string>
#include <vector>

namespace tolvane {

// A simulated device that is running now.
struct CSimulatedPort {
  int slot = 0;
  std::string device;  // "ttySIM<slot>"
  std::string path;    // the pseudo-terminal, e.g. "/dev/pts/5"
};

// Holds a slot for as long as it lives; destroying it takes the entry away again.
class CSimulatedPortRegistration {
 public:
  ~CSimulatedPortRegistration();
  CSimulatedPortRegistration(const CSimulatedPortRegistration&) = delete;
  CSimulatedPortRegistration& operator=(const CSimulatedPortRegistration&) = delete;

  int Slot() const { return m_nSlot; }
  std::string Device() const;

 private:
  friend class CSimulatedPortRegistry;
  CSimulatedPortRegistration(std::string directory, int slot, int lockFd);

  std::string m_strDirectory;
  int m_nSlot;
  int m_fdLock;
};

// The per-user directory where simulated devices announce their pseudo-terminals, so that port
// discovery finds them without root. Slot k is a symlink "ttySIM<k>" to the terminal plus
// "ttySIM<k>.lock", which the owner keeps flock'ed while it runs: an entry whose lock anyone can
// take is stale, left by a process that died.
class CSimulatedPortRegistry {
 public:
  explicit CSimulatedPortRegistry(std::string directory);

  // $TOLVANE_PORT_REGISTRY, else $XDG_RUNTIME_DIR/tolvane, else /tmp/tolvane-<uid>.
  static std::string DefaultDirectory();
  const std::string& Directory() const { return m_strDirectory; }

  // Takes the lowest free slot for `terminalPath`, creating the directory (mode 0700) if needed.
  // Null, with the reason in `errorText`, when the directory is unusable or every slot is taken.
  std::unique_ptr<CSimulatedPortRegistration> Register(const std::string& terminalPath, std::string& errorText);

  // The live entries by slot. Stale entries are removed on the way. Never creates the directory,
  // and trusts it only when it belongs to this user and no one else may write to it.
  std::vector<CSimulatedPort> List();

 private:
  std::string m_strDirectory;
};

}  // namespace tolvane
