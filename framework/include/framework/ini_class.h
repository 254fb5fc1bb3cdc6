// INI files: a private-profile layer of our own (read, write and delete a key
// while keeping the order and every other line of the file as it was) and the
// INI manager that keeps window placements and the section list in it.
//
// File format: "[Section]" lines and "Key=Value" lines; section and key names
// match without regard to case; anything else (comments, blank lines, lines of
// other programs) is kept as it is. A new key goes after the last key of its
// section, a new section at the end of the file after a blank line. New lines
// take the file's line ending (CRLF if its first line has one, else LF).
#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

// Where a bare INI file name lives: $XDG_CONFIG_HOME, else ~/.config.
std::string profileFolder();

class PrivateProfile {
 public:
  explicit PrivateProfile(std::string path) : path_(std::move(path)) {}
  const std::string& path() const { return path_; }
  std::optional<std::string> Get(std::string_view section, std::string_view key) const;
  // Writes the key; with no value, deletes it. Reports nothing on failure.
  void Set(std::string_view section, std::string_view key, std::optional<std::string_view> value) const;

 private:
  std::string path_;
};

// What the INI manager needs of a window to save and restore its placement.
// Positions and sizes are in the window's dialog units.
class PlacementTarget {
 public:
  virtual ~PlacementTarget() = default;
  virtual bool isMaximized() const = 0;
  virtual bool isMinimized() const = 0;
  virtual bool isResizable() const = 0;
  virtual int xPos() const = 0;
  virtual int yPos() const = 0;
  virtual int widthUnits() const = 0;
  virtual int heightUnits() const = 0;
  virtual void setPosition(std::optional<int> x, std::optional<int> y) = 0;
  virtual void setSize(std::optional<int> w, std::optional<int> h) = 0;
  virtual void maximize() = 0;
  virtual void restore() = 0;   // back to normal size from maximised or minimised
  virtual void minimize() = 0;
};

class INIClass {
 public:
  // Opens the INI file `name` (a bare name lives in profileFolder()) and reads
  // the section list from "Sectors". The other two arguments are kept for the
  // call's shape: 0 selects the INI-file store, the third is ignored.
  void Init(std::string_view name, int store = 0, int unused = 0);
  // Writes the section list back to "Sectors": the count first, then the entries.
  void Kill();
  void Update() {}  // the parameterless hook: nothing to do
  void Fetch(std::string_view procedure, PlacementTarget& window);
  void Update(std::string_view procedure, const PlacementTarget& window);

  std::optional<std::string> TryFetch(std::string_view section, std::string_view key) const;
  void Update(std::string_view section, std::string_view key, std::optional<std::string_view> value);

  struct Sector {
    std::string a, b, c;  // the entry's three fields
  };
  const std::vector<Sector>& Sectors() const { return sectors_; }
  std::string FileName() const;

 private:
  mutable std::mutex mutex_;
  std::optional<PrivateProfile> profile_;
  std::vector<Sector> sectors_;
};

// The fuzzy text matcher: initialised and killed by the entry point; nothing
// in the program matches text with it.
class FuzzyClass {
 public:
  void Init() { active_ = true; }
  void Kill() { active_ = false; }
  void SetOption(int option, bool on) {
    if (option == 1) caseInsensitive_ = on;
    if (option == 2) wordOnly_ = on;
  }
  bool active() const { return active_; }
  bool caseInsensitive() const { return caseInsensitive_; }
  bool wordOnly() const { return wordOnly_; }

 private:
  bool active_ = false, caseInsensitive_ = false, wordOnly_ = false;
};

}  // namespace fw
