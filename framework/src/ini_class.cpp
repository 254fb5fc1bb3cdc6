#include "framework/ini_class.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fw {
namespace {

bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// A line of the file as read, with its line ending.
struct Lines {
  std::vector<std::string> lines;  // each without its "\n" (a "\r" stays)
  std::string eol = "\n";
};

Lines readLines(const std::string& path) {
  Lines l;
  std::ifstream in(path, std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t nl = text.find('\n', start);
    if (nl == std::string::npos) {
      l.lines.push_back(text.substr(start));
      break;
    }
    l.lines.push_back(text.substr(start, nl - start));
    start = nl + 1;
  }
  if (!l.lines.empty() && !l.lines[0].empty() && l.lines[0].back() == '\r') l.eol = "\r\n";
  return l;
}

// "[Name]" → Name; otherwise empty optional.
std::optional<std::string_view> sectionOf(std::string_view line) {
  line = trim(line);
  if (line.size() >= 2 && line.front() == '[' && line.back() == ']') return trim(line.substr(1, line.size() - 2));
  return std::nullopt;
}

// "Key=Value" → Key (trimmed); otherwise empty optional.
std::optional<std::string_view> keyOf(std::string_view line) {
  const auto eq = line.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  const std::string_view key = trim(line.substr(0, eq));
  if (key.empty() || key.front() == ';') return std::nullopt;
  return key;
}

}  // namespace

std::string profileFolder() {
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) return xdg;
  if (const char* home = std::getenv("HOME"); home && *home) return std::string(home) + "/.config";
  return ".";
}

std::optional<std::string> PrivateProfile::Get(std::string_view section, std::string_view key) const {
  const Lines l = readLines(path_);
  bool inSection = false;
  for (const std::string& line : l.lines) {
    if (auto s = sectionOf(line)) {
      inSection = sameName(*s, section);
      continue;
    }
    if (!inSection) continue;
    if (auto k = keyOf(line); k && sameName(*k, key)) {
      std::string_view v = line;
      v.remove_prefix(line.find('=') + 1);
      return std::string(trim(v));
    }
  }
  return std::nullopt;
}

void PrivateProfile::Set(std::string_view section, std::string_view key, std::optional<std::string_view> value) const {
  Lines l = readLines(path_);
  const std::string cr = l.eol == "\r\n" ? "\r" : "";
  // Find the section, its last key line and the key itself.
  std::optional<std::size_t> header, lastKey, found;
  bool inSection = false;
  for (std::size_t i = 0; i < l.lines.size(); ++i) {
    if (auto s = sectionOf(l.lines[i])) {
      inSection = !header && sameName(*s, section);
      if (inSection) header = i;
      continue;
    }
    if (!inSection) continue;
    if (auto k = keyOf(l.lines[i])) {
      lastKey = i;
      if (!found && sameName(*k, key)) found = i;
    }
  }
  const std::string newLine = value ? std::string(key) + "=" + std::string(*value) + cr : std::string();
  if (found) {
    if (value) l.lines[*found] = newLine;
    else l.lines.erase(l.lines.begin() + static_cast<std::ptrdiff_t>(*found));
  } else if (!value) {
    return;  // nothing to delete
  } else if (header) {
    const std::size_t at = (lastKey ? *lastKey : *header) + 1;
    l.lines.insert(l.lines.begin() + static_cast<std::ptrdiff_t>(at), newLine);
  } else {
    if (!l.lines.empty() && !trim(l.lines.back()).empty()) l.lines.push_back(cr);
    l.lines.push_back("[" + std::string(section) + "]" + cr);
    l.lines.push_back(newLine);
  }
  std::string text;
  for (const std::string& line : l.lines) text += line + "\n";
  // Write a new file and move it into place, so a crash never leaves half a file.
  const std::string temp = path_ + ".nuevo";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return;
    out << text;
    if (!out.flush()) return;
  }
  std::error_code ec;
  std::filesystem::rename(temp, path_, ec);
}

// --- INIClass ------------------------------------------------------------------------

void INIClass::Init(std::string_view name, int, int) {
  std::lock_guard lock(mutex_);
  std::string path(name);
  if (path.find('/') == std::string::npos) {
    const std::string folder = profileFolder();
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    path = folder + "/" + path;
  }
  profile_.emplace(path);
  sectors_.clear();
  const auto count = profile_->Get("Sectors", "__Dont_Touch_Me__");
  const int n = count ? std::atoi(count->c_str()) : 0;
  for (int i = 1; i <= n; ++i) {
    const std::string entry = profile_->Get("Sectors", "__Dont_Touch_Me___" + std::to_string(i)).value_or("");
    Sector s;
    const auto c1 = entry.find(',');
    const auto c2 = c1 == std::string::npos ? std::string::npos : entry.find(',', c1 + 1);
    s.a = entry.substr(0, c1);
    if (c1 != std::string::npos) s.b = entry.substr(c1 + 1, c2 == std::string::npos ? std::string::npos : c2 - c1 - 1);
    if (c2 != std::string::npos) s.c = entry.substr(c2 + 1);
    sectors_.push_back(std::move(s));
  }
}

void INIClass::Kill() {
  std::lock_guard lock(mutex_);
  if (!profile_) return;
  profile_->Set("Sectors", "__Dont_Touch_Me__", std::to_string(sectors_.size()));
  for (std::size_t i = 0; i < sectors_.size(); ++i)
    profile_->Set("Sectors", "__Dont_Touch_Me___" + std::to_string(i + 1),
                  sectors_[i].a + "," + sectors_[i].b + "," + sectors_[i].c);
}

std::string INIClass::FileName() const {
  std::lock_guard lock(mutex_);
  return profile_ ? profile_->path() : std::string();
}

std::optional<std::string> INIClass::TryFetch(std::string_view section, std::string_view key) const {
  std::lock_guard lock(mutex_);
  return profile_ ? profile_->Get(section, key) : std::nullopt;
}

void INIClass::Update(std::string_view section, std::string_view key, std::optional<std::string_view> value) {
  std::lock_guard lock(mutex_);
  if (profile_) profile_->Set(section, key, value);
}

void INIClass::Update(std::string_view procedure, const PlacementTarget& w) {
  const bool maximized = w.isMaximized();
  const bool minimized = w.isMinimized();
  std::optional<std::string> x, y, width, height;
  if (!maximized && !minimized) {
    x = std::to_string(w.xPos());
    y = std::to_string(w.yPos());
    if (w.isResizable()) {
      width = std::to_string(w.widthUnits());
      height = std::to_string(w.heightUnits());
    }
  }
  Update(procedure, "Maximize", maximized ? "Yes" : "No");
  Update(procedure, "Minimize", minimized ? "Yes" : "No");
  const std::pair<const char*, std::optional<std::string>*> keys[] = {
      {"XPos", &x}, {"YPos", &y}, {"Width", &width}, {"Height", &height}};
  for (const auto& [key, value] : keys)
    Update(procedure, key, *value ? std::optional<std::string_view>(**value) : std::nullopt);
}

void INIClass::Fetch(std::string_view procedure, PlacementTarget& w) {
  const auto maximize = TryFetch(procedure, "Maximize");
  if (!maximize || (*maximize != "Yes" && *maximize != "No")) return;
  auto number = [&](const char* key) -> std::optional<int> {
    const auto v = TryFetch(procedure, key);
    if (!v || v->empty()) return std::nullopt;
    char* end = nullptr;
    const long n = std::strtol(v->c_str(), &end, 10);
    if (*end != '\0') return std::nullopt;
    return static_cast<int>(n);
  };
  const auto minimize = TryFetch(procedure, "Minimize");
  const auto x = number("XPos"), y = number("YPos"), width = number("Width"), height = number("Height");
  if (*maximize == "No" && w.isMaximized()) w.restore();
  w.setPosition(x, y);
  if (w.isResizable()) w.setSize(width, height);
  if (*maximize == "Yes" && !w.isMaximized()) w.maximize();
  if (minimize && *minimize == "Yes") w.minimize();
  else if (w.isMinimized()) w.restore();
}

}  // namespace fw
