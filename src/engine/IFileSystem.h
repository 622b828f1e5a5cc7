#pragma once

#include <memory>
#include <string>

namespace tolvane {

// A lock held until the object goes.
class IHeldLock {
 public:
  virtual ~IHeldLock() = default;
};

// A file written a piece at a time that takes the place of its target whole, once kept; dropped
// without a trace, the target as it was, when it goes unkept.
class IWholeFile {
 public:
  virtual ~IWholeFile() = default;
  // False with the system's reason alone.
  virtual bool Write(const std::string& bytes, std::string& reason) = 0;
  virtual bool Keep(std::string& reason) = 0;
};

// What the engine needs of the platform's files: an IMEI list's lock and its durable record, and a
// report saved whole or not at all. Each platform maps these onto its own calls.
class IFileSystem {
 public:
  virtual ~IFileSystem() = default;

  // An exclusive lock on a file of its own that other processes honour, waited for at most
  // `waitMs`. Nothing, with a message that names the file, when it is not had.
  virtual std::unique_ptr<IHeldLock> Lock(const std::string& path, int waitMs, std::string& errorText) = 0;
  // Appends `text`, creating the file, and returns once it is on the disk; false with the
  // system's reason alone.
  virtual bool AppendDurably(const std::string& path, const std::string& text, std::string& reason) = 0;
  // Replaces the file with `bytes`, whole, or leaves it as it was; false with the system's reason alone.
  virtual bool SaveWhole(const std::string& path, const std::string& bytes, std::string& reason) = 0;
  // The same for bytes too many to hold at once; nothing, with the system's reason alone. A
  // platform that does not write in pieces holds them all and saves them whole when kept.
  virtual std::unique_ptr<IWholeFile> SaveInPieces(const std::string& path, std::string& reason);
};

class CHeldWholeFile : public IWholeFile {
 public:
  CHeldWholeFile(IFileSystem& files, std::string path) : m_files(files), m_path(std::move(path)) {}
  bool Write(const std::string& bytes, std::string&) override {
    m_bytes += bytes;
    return true;
  }
  bool Keep(std::string& reason) override { return m_files.SaveWhole(m_path, m_bytes, reason); }

 private:
  IFileSystem& m_files;
  std::string m_path, m_bytes;
};

inline std::unique_ptr<IWholeFile> IFileSystem::SaveInPieces(const std::string& path, std::string&) {
  return std::make_unique<CHeldWholeFile>(*this, path);
}

}  // namespace tolvane
