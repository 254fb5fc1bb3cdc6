#include "store/data_file.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <cstring>
#include <utility>

#include "store/codepage.h"
#include "store/faults.h"
#include "store/image_codec.h"
#include "store/key_codec.h"

namespace store {
namespace {

constexpr std::int32_t kApplicationId = 0x4B414D4F;  // "KAMO"
constexpr int kFormatVersion = 1;
constexpr int kDefaultBusyMs = 2000;
constexpr int kBatchRows = 32;
constexpr int kQuickScanBatchRows = 512;

std::string keyColumn(std::size_t i) { return "k" + std::to_string(i + 1); }

std::string baseName(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string dirName(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
}

std::uint32_t be32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
         static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

// Looks at the first 100 bytes before SQLite touches the file: a file that is
// not a KAMO container, or is shorter than its header says, is refused here.
Status checkHeader(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return {errno == ENOENT ? kFileNotFound : kAccessDenied, path};
  unsigned char h[100];
  const ssize_t n = ::read(fd, h, sizeof h);
  struct stat st {};
  const int statResult = ::fstat(fd, &st);
  ::close(fd);
  if (n < 0 || statResult != 0) return {kAccessDenied, path};
  static constexpr char kMagic[] = "SQLite format 3";
  const bool sqliteMagic = n >= 16 && std::memcmp(h, kMagic, 16) == 0;
  if (n < 100 || !sqliteMagic) {
    return {kNotADataFile, baseName(path) + " no es un archivo de datos de KAMO"};
  }
  if (static_cast<std::int32_t>(be32(h + 68)) != kApplicationId)
    return {kNotADataFile, baseName(path) + " es una base de datos de otro programa"};
  std::uint32_t pageSize = static_cast<std::uint32_t>(h[16]) << 8 | h[17];
  if (pageSize == 1) pageSize = 65536;
  const std::uint32_t pages = be32(h + 28);
  // The page count is valid when the change counter matches "version valid for".
  if (be32(h + 24) == be32(h + 92) && static_cast<std::uint64_t>(st.st_size) < std::uint64_t{pageSize} * pages)
    return {kFileDamaged, baseName(path) + " está truncado"};
  return {};
}

// Small RAII holder for statements used once.
struct Once {
  sqlite3_stmt* s = nullptr;
  ~Once() { sqlite3_finalize(s); }
};

void bindBlob(sqlite3_stmt* s, int i, const std::string& v) {
  sqlite3_bind_blob(s, i, v.data(), static_cast<int>(v.size()), SQLITE_STATIC);
}

std::string columnBlob(sqlite3_stmt* s, int i) {
  const void* p = sqlite3_column_blob(s, i);
  return {static_cast<const char*>(p), static_cast<std::size_t>(sqlite3_column_bytes(s, i))};
}

// A stored record image, unpacked; empty when it does not unpack to `size`
// bytes (reported as damage by whoever reads it).
std::string columnImage(sqlite3_stmt* s, int i, std::size_t size) {
  const void* p = sqlite3_column_blob(s, i);
  std::string out;
  if (!unpackImage({static_cast<const char*>(p), static_cast<std::size_t>(sqlite3_column_bytes(s, i))}, size, out))
    out.clear();
  return out;
}

// Key bound that sorts after every encoded value of the key (all values of a
// key have the same width).
std::string afterAll(std::size_t width) { return std::string(width + 1, '\xFF'); }

// The smallest value greater than every value starting with `prefix`, or
// empty when there is none.
std::string successor(std::string prefix) {
  while (!prefix.empty()) {
    auto& last = reinterpret_cast<unsigned char&>(prefix.back());
    if (last != 0xFF) {
      ++last;
      return prefix;
    }
    prefix.pop_back();
  }
  return {};
}

}  // namespace

// ---------------------------------------------------------------------------

DataFile::DataFile(const FileDesc& desc) : DataFile(desc, std::string(desc.diskName)) {}

DataFile::DataFile(const FileDesc& desc, std::string path)
    : desc_(desc), path_(std::move(path)), diskName_(baseName(path_)) {
  ownRecord_ = std::make_unique<unsigned char[]>(desc_.recordSize);
  clearRecord(desc_, ownRecord_.get());
  record_ = ownRecord_.get();
  if (desc_.hasMemo()) {
    ownMemo_ = std::make_unique<char[]>(desc_.memo.size);
    std::memset(ownMemo_.get(), ' ', desc_.memo.size);
    memo_ = ownMemo_.get();
  }
}

DataFile::~DataFile() { close(); }

void DataFile::bind(unsigned char* record, char* memo) {
  record_ = record ? record : ownRecord_.get();
  memo_ = memo ? memo : ownMemo_.get();
}

Status DataFile::fail(int rc, std::string_view what) const {
  const char* msg = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
  std::string detail = std::string(what) + ": " + msg;
  switch (rc & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return {kRecordHeld, detail};
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH: return {kAccessDenied, detail};
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB: return {kFileDamaged, detail};
    case SQLITE_CANTOPEN: return {kAccessDenied, detail};
    default: return {kStorageError, detail};
  }
}

sqlite3_stmt* DataFile::prepare(const std::string& sql) {
  auto it = stmts_.find(sql);
  if (it != stmts_.end()) {
    sqlite3_reset(it->second);
    sqlite3_clear_bindings(it->second);
    return it->second;
  }
  sqlite3_stmt* s = nullptr;
  if (sqlite3_prepare_v3(db_, sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &s, nullptr) != SQLITE_OK) return nullptr;
  stmts_.emplace(sql, s);
  return s;
}

// --- open, create, close ----------------------------------------------------

Status DataFile::checkContainer(sqlite3* db, bool checkKeys) {
  Once q;
  int rc = sqlite3_prepare_v2(db, "SELECT name, value FROM meta", -1, &q.s, nullptr);
  if (rc != SQLITE_OK) {
    if ((rc & 0xFF) == SQLITE_NOTADB || (rc & 0xFF) == SQLITE_CORRUPT)
      return {kFileDamaged, diskName_ + ": " + sqlite3_errmsg(db)};
    if ((rc & 0xFF) == SQLITE_ERROR) return {kNotADataFile, diskName_ + " no tiene el formato de KAMO"};
    return {kAccessDenied, diskName_ + ": " + sqlite3_errmsg(db)};
  }
  std::map<std::string, std::string> meta;
  while ((rc = sqlite3_step(q.s)) == SQLITE_ROW) {
    const auto* v = sqlite3_column_text(q.s, 1);
    meta[reinterpret_cast<const char*>(sqlite3_column_text(q.s, 0))] = v ? reinterpret_cast<const char*>(v) : "";
  }
  if (rc != SQLITE_DONE) {
    if ((rc & 0xFF) == SQLITE_BUSY) return {kAccessDenied, diskName_ + ": " + sqlite3_errmsg(db)};
    return {kFileDamaged, diskName_ + ": " + sqlite3_errmsg(db)};
  }
  if (meta["file"] != desc_.label)
    return {kWrongFile, diskName_ + " contiene el archivo " + meta["file"] + ", no " + std::string(desc_.label)};
  if (meta["layout"] != std::to_string(layoutFingerprint(desc_)) ||
      meta["record_size"] != std::to_string(desc_.recordSize) || meta["memo_size"] != std::to_string(desc_.memo.size))
    return {kWrongFile, diskName_ + " tiene otro formato de registro"};
  if (checkKeys && (meta["keys"] != std::to_string(keysFingerprint(desc_)) || meta["keys_valid"] != "1"))
    return {kKeysMustBeRebuilt, diskName_};
  return {};
}

Status DataFile::openConnection(int flags, sqlite3** out, bool checkKeys) {
  *out = nullptr;
  if (Status s = checkHeader(path_); !s.ok()) return s;
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(path_.c_str(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    Status s(rc == SQLITE_CANTOPEN ? kAccessDenied : kStorageError, diskName_ + ": " + sqlite3_errstr(rc));
    sqlite3_close(db);
    return s;
  }
  sqlite3_extended_result_codes(db, 1);
  sqlite3_busy_timeout(db, recoverSeconds_ > 0 ? recoverSeconds_ * 1000 : kDefaultBusyMs);
  Status s = checkContainer(db, checkKeys);
  if (s.ok() && (flags & SQLITE_OPEN_READWRITE)) {
    // The file was created in WAL mode; this only confirms it.
    rc = sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL;", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) s = Status(kAccessDenied, diskName_ + ": " + sqlite3_errmsg(db));
  }
  sqlite3_busy_timeout(db, kDefaultBusyMs);
  if (!s.ok()) {
    sqlite3_close(db);
    return s;
  }
  *out = db;
  return {};
}

Status DataFile::open(int mode) {
  if (db_) return {kFileAlreadyOpen, diskName_};
  const int access = mode & 0x0F;
  const int share = mode & 0xF0;
  if (access > kReadWrite || (share != 0 && share != kDenyNone))
    return {kInvalidOpenMode, "modo " + std::to_string(mode)};
  if (int code = faults::take(faults::Op::Open, diskName_)) return {code, diskName_};
  const bool write = access != kReadOnly;
  struct stat st {};
  if (::stat(path_.c_str(), &st) != 0) return {errno == ENOENT ? kFileNotFound : kAccessDenied, diskName_};
  if (write && ::access(path_.c_str(), W_OK) != 0) return {kAccessDenied, diskName_};
  Status s = openConnection(write ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY, &db_, true);
  recoverSeconds_ = 0;
  if (!s.ok()) return s;
  mode_ = mode;
  currentRecno_ = 0;
  seq_ = {};
  dropBatch();
  return {};
}

Status DataFile::create() {
  if (int code = faults::take(faults::Op::Create, diskName_)) return {code, diskName_};
  struct stat st {};
  if (::stat(path_.c_str(), &st) == 0) return {kFileExists, diskName_};
  // Build the file under a private name and link it into place: the data file
  // appears complete or not at all, and an existing file is never replaced.
  const std::string temp = dirName(path_) + "/." + diskName_ + "." + std::to_string(::getpid()) + ".nuevo";
  ::unlink(temp.c_str());
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(temp.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
  std::string sql = "PRAGMA application_id=" + std::to_string(kApplicationId) +
                    "; PRAGMA user_version=" + std::to_string(kFormatVersion) +
                    "; PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL; BEGIN;"
                    " CREATE TABLE meta(name TEXT PRIMARY KEY, value ANY) STRICT;"
                    " CREATE TABLE memos(recno INTEGER PRIMARY KEY, text BLOB NOT NULL) STRICT;"
                    " CREATE TABLE records(recno INTEGER PRIMARY KEY, version INTEGER NOT NULL, image BLOB NOT NULL";
  for (std::size_t i = 0; i < desc_.keys.size(); ++i) sql += ", " + keyColumn(i) + " BLOB";
  sql += ") STRICT;";
  for (std::size_t i = 0; i < desc_.keys.size(); ++i)
    sql += std::string(" CREATE ") + (desc_.keys[i].dup ? "" : "UNIQUE ") + "INDEX kidx" + std::to_string(i + 1) +
           " ON records(" + keyColumn(i) + ") WHERE " + keyColumn(i) + " IS NOT NULL;";
  sql += " INSERT INTO meta VALUES('file', '" + std::string(desc_.label) + "'), ('record_size', '" +
         std::to_string(desc_.recordSize) + "'), ('memo_size', '" + std::to_string(desc_.memo.size) +
         "'), ('layout', '" + std::to_string(layoutFingerprint(desc_)) + "'), ('keys', '" +
         std::to_string(keysFingerprint(desc_)) + "'), ('keys_valid', '1'); COMMIT;";
  if (rc == SQLITE_OK) rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
  Status s;
  if (rc != SQLITE_OK) s = Status(kAccessDenied, diskName_ + ": " + (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc)));
  sqlite3_close(db);
  if (s.ok() && ::link(temp.c_str(), path_.c_str()) != 0 && errno != EEXIST)
    s = Status(kAccessDenied, diskName_ + ": " + std::strerror(errno));
  ::unlink(temp.c_str());
  ::unlink((temp + "-wal").c_str());
  ::unlink((temp + "-shm").c_str());
  if (s.ok()) {
    const int dfd = ::open(dirName(path_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
      ::fsync(dfd);
      ::close(dfd);
    }
  }
  return s;
}

void DataFile::close() {
  if (!db_) return;
  if (inTransaction_) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  inTransaction_ = false;
  for (auto& [sql, s] : stmts_) sqlite3_finalize(s);
  stmts_.clear();
  sqlite3_close(db_);
  db_ = nullptr;
  currentRecno_ = 0;
  seq_ = {};
  dropBatch();
  quickScan_ = false;
}

Status DataFile::rebuildKeys() {
  if (int code = faults::take(faults::Op::Rebuild, diskName_)) return {code, diskName_};
  sqlite3* db = nullptr;
  if (Status s = openConnection(SQLITE_OPEN_READWRITE, &db, false); !s.ok()) return s;
  struct Closer {
    sqlite3* db;
    ~Closer() { sqlite3_close(db); }
  } closer{db};
  auto exec = [&](const std::string& sql) { return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr); };
  auto error = [&](std::string_view what) {
    Status s(kStorageError, std::string(what) + ": " + sqlite3_errmsg(db));
    exec("ROLLBACK");
    return s;
  };
  if (exec("BEGIN IMMEDIATE") != SQLITE_OK) return {kAccessDenied, diskName_ + ": " + sqlite3_errmsg(db)};
  // Start from a table with one key column per declared key: the declarations
  // may have changed since the file was made.
  std::string cols = "recno INTEGER PRIMARY KEY, version INTEGER NOT NULL, image BLOB NOT NULL";
  for (std::size_t i = 0; i < desc_.keys.size(); ++i) cols += ", " + keyColumn(i) + " BLOB";
  if (exec("CREATE TABLE records_new(" + cols + ") STRICT") != SQLITE_OK ||
      exec("INSERT INTO records_new(recno, version, image) SELECT recno, version, image FROM records") != SQLITE_OK ||
      exec("DROP TABLE records") != SQLITE_OK || exec("ALTER TABLE records_new RENAME TO records") != SQLITE_OK)
    return error("reconstruyendo " + diskName_);
  {
    std::string set;
    for (std::size_t i = 0; i < desc_.keys.size(); ++i) set += (i ? ", " : "") + keyColumn(i) + "=?" + std::to_string(i + 2);
    Once read, write;
    if (sqlite3_prepare_v2(db, "SELECT recno, image FROM records", -1, &read.s, nullptr) != SQLITE_OK ||
        sqlite3_prepare_v2(db, ("UPDATE records SET " + set + " WHERE recno=?1").c_str(), -1, &write.s, nullptr) !=
            SQLITE_OK)
      return error("reconstruyendo " + diskName_);
    std::vector<std::string> keys(desc_.keys.size());
    int rc;
    while ((rc = sqlite3_step(read.s)) == SQLITE_ROW) {
      const std::string image = columnImage(read.s, 1, desc_.recordSize);
      if (image.size() != desc_.recordSize)
        return error("registro " + std::to_string(sqlite3_column_int64(read.s, 0)) + " dañado");
      sqlite3_reset(write.s);
      sqlite3_bind_int64(write.s, 1, sqlite3_column_int64(read.s, 0));
      for (std::size_t i = 0; i < desc_.keys.size(); ++i) {
        bool present = false;
        keyOf(static_cast<int>(i), image, keys[i], present);
        if (present)
          bindBlob(write.s, static_cast<int>(i) + 2, keys[i]);
        else
          sqlite3_bind_null(write.s, static_cast<int>(i) + 2);
      }
      if (sqlite3_step(write.s) != SQLITE_DONE) return error("reconstruyendo " + diskName_);
    }
    if (rc != SQLITE_DONE) return error("leyendo " + diskName_);
  }
  for (std::size_t i = 0; i < desc_.keys.size(); ++i) {
    const std::string sql = std::string("CREATE ") + (desc_.keys[i].dup ? "" : "UNIQUE ") + "INDEX kidx" +
                            std::to_string(i + 1) + " ON records(" + keyColumn(i) + ") WHERE " + keyColumn(i) +
                            " IS NOT NULL";
    if (exec(sql) != SQLITE_OK) {
      const bool dup = (sqlite3_extended_errcode(db) & 0xFF) == SQLITE_CONSTRAINT;
      Status s(dup ? kDuplicateKey : kStorageError, std::string(desc_.keys[i].label) + ": " + sqlite3_errmsg(db));
      exec("ROLLBACK");
      return s;
    }
  }
  if (exec("UPDATE meta SET value='" + std::to_string(keysFingerprint(desc_)) + "' WHERE name='keys';"
           "UPDATE meta SET value='1' WHERE name='keys_valid'; COMMIT") != SQLITE_OK)
    return error("reconstruyendo " + diskName_);
  if (db_) {
    // This handle's statements refer to the replaced table.
    for (auto& [sql, s] : stmts_) sqlite3_finalize(s);
    stmts_.clear();
    dropBatch();
  }
  return {};
}

// --- buffers and keys --------------------------------------------------------

void DataFile::clearBuffer() {
  clearRecord(desc_, record_);
  if (memo_) std::memset(memo_, ' ', desc_.memo.size);
}

void DataFile::keyOf(int key, const std::string& oemImage, std::string& out, bool& present) const {
  const KeyDesc& k = desc_.keys[key];
  const auto* image = reinterpret_cast<const unsigned char*>(oemImage.data());
  out.clear();
  present = !keyLeavesOut(desc_, k, image);
  if (present) encodeKey(desc_, k, image, out);
}

Status DataFile::buildImage(std::string& oem, std::string* oemMemo) {
  oem.assign(reinterpret_cast<const char*>(record_), desc_.recordSize);
  for (const FieldDesc& f : desc_.fields) {
    if (f.type != FieldType::String) continue;
    char* p = oem.data() + f.offset;
    if (oemMemo) {
      const std::size_t bad = cp::firstUnstorable(p, f.size);
      if (bad != f.size)
        return {kTextNotStorable, std::string(f.label) + ": el carácter «" +
                                      cp::ansiToUtf8(std::string(1, p[bad])) + "» no se puede guardar en el archivo"};
    }
    cp::ansiToOem(p, p, f.size);
  }
  if (oemMemo) {
    oemMemo->clear();
    if (memo_) {
      std::size_t n = desc_.memo.size;
      while (n > 0 && memo_[n - 1] == ' ') --n;
      const std::size_t bad = cp::firstUnstorable(memo_, n);
      if (bad != n)
        return {kTextNotStorable, std::string(desc_.memo.label) + ": el carácter «" +
                                      cp::ansiToUtf8(std::string(1, memo_[bad])) + "» no se puede guardar en el archivo"};
      oemMemo->resize(n);
      cp::ansiToOem(memo_, oemMemo->data(), n);
    }
  }
  return {};
}

Status DataFile::keyRangeFromBuffer(int key, int parts, std::string& lo, std::string& hi) {
  std::string image;
  (void)buildImage(image, nullptr);
  lo.clear();
  encodeKey(desc_, desc_.keys[key], reinterpret_cast<const unsigned char*>(image.data()), lo, parts);
  hi = successor(lo);
  if (hi.empty()) hi = afterAll(keyWidth(desc_, desc_.keys[key]));
  return {};
}

// --- reading ------------------------------------------------------------------

Status DataFile::readMemo(std::int64_t recno, std::string& oem) {
  oem.clear();
  sqlite3_stmt* s = prepare("SELECT text FROM memos WHERE recno=?1");
  if (!s) return fail(sqlite3_errcode(db_), "leyendo memo");
  sqlite3_bind_int64(s, 1, recno);
  const int rc = sqlite3_step(s);
  if (rc == SQLITE_ROW) oem = columnBlob(s, 0);
  else if (rc != SQLITE_DONE) return fail(rc, "leyendo memo");
  sqlite3_reset(s);
  return {};
}

Status DataFile::loadRow(const Row& row) {
  if (row.image.size() != desc_.recordSize)
    return {kFileDamaged, diskName_ + ": registro " + std::to_string(row.recno) + " dañado"};
  std::string memo;
  if (desc_.hasMemo())
    if (Status s = readMemo(row.recno, memo); !s.ok()) return s;
  std::memcpy(record_, row.image.data(), desc_.recordSize);
  for (const FieldDesc& f : desc_.fields)
    if (f.type == FieldType::String) {
      auto* p = reinterpret_cast<char*>(record_) + f.offset;
      cp::oemToAnsi(p, p, f.size);
    }
  if (memo_) {
    const std::size_t n = memo.size() < desc_.memo.size ? memo.size() : desc_.memo.size;
    cp::oemToAnsi(memo.data(), memo_, n);
    std::memset(memo_ + n, ' ', desc_.memo.size - n);
  }
  currentRecno_ = row.recno;
  currentVersion_ = row.version;
  currentImage_ = row.image;
  currentMemo_ = std::move(memo);
  return {};
}

Status DataFile::fetch(int key) {
  if (!db_) return {kFileNotOpen, diskName_};
  if (key < 0 || key >= static_cast<int>(desc_.keys.size())) return {kInvalidValue, "clave " + std::to_string(key)};
  if (int code = faults::take(faults::Op::Read, diskName_)) return {code, diskName_};
  std::string image, value;
  (void)buildImage(image, nullptr);
  bool present = false;
  keyOf(key, image, value, present);
  if (!present) return {kRecordNotFound, std::string(desc_.keys[key].label)};
  const std::string col = keyColumn(key);
  sqlite3_stmt* s = prepare("SELECT recno, version, image FROM records WHERE " + col + "=?1 ORDER BY " + col +
                            ", recno LIMIT 1");
  if (!s) return fail(sqlite3_errcode(db_), "leyendo");
  bindBlob(s, 1, value);
  const int rc = sqlite3_step(s);
  if (rc == SQLITE_DONE) {
    sqlite3_reset(s);
    return {kRecordNotFound, std::string(desc_.keys[key].label)};
  }
  if (rc != SQLITE_ROW) {
    Status st = fail(rc, "leyendo");
    sqlite3_reset(s);
    return st;
  }
  Row row{sqlite3_column_int64(s, 0), sqlite3_column_int64(s, 1), columnImage(s, 2, desc_.recordSize), {}};
  sqlite3_reset(s);
  return loadRow(row);
}

Status DataFile::setPhysical() {
  if (!db_) return {kFileNotOpen, diskName_};
  seq_ = {};
  seq_.key = -1;
  seq_.active = true;
  seq_.fwdRecno = 0;
  seq_.backRecno = INT64_MAX;
  dropBatch();
  return {};
}

Status DataFile::setKey(int key) {
  if (!db_) return {kFileNotOpen, diskName_};
  if (key < 0 || key >= static_cast<int>(desc_.keys.size())) return {kInvalidValue, "clave " + std::to_string(key)};
  seq_ = {};
  seq_.key = key;
  seq_.active = true;
  seq_.fwdKey.clear();
  seq_.fwdRecno = 0;
  seq_.backKey = afterAll(keyWidth(desc_, desc_.keys[key]));
  seq_.backRecno = 0;
  dropBatch();
  return {};
}

Status DataFile::setKeyFrom(int key) {
  if (Status s = setKey(key); !s.ok()) return s;
  std::string image;
  (void)buildImage(image, nullptr);
  std::string value;
  encodeKey(desc_, desc_.keys[key], reinterpret_cast<const unsigned char*>(image.data()), value);
  seq_.fwdKey = value;
  seq_.fwdRecno = 0;
  seq_.backKey = value;
  seq_.backRecno = 0;
  return {};
}

Status DataFile::setRange(int key, int parts) {
  if (Status s = setKey(key); !s.ok()) return s;
  if (parts < 0 || parts > desc_.keys[key].partCount) return {kInvalidValue, "componentes " + std::to_string(parts)};
  if (parts == 0) return {};
  (void)keyRangeFromBuffer(key, parts, seq_.lo, seq_.hi);
  seq_.fwdKey = seq_.lo;
  seq_.fwdRecno = 0;
  seq_.backKey = seq_.hi;
  seq_.backRecno = 0;
  return {};
}

Status DataFile::fillBatch(bool forward) {
  const int limit = quickScan_ ? kQuickScanBatchRows : kBatchRows;
  if (seq_.key < 0) {
    sqlite3_stmt* s = prepare(forward ? "SELECT recno, version, image FROM records WHERE recno>?1 ORDER BY recno LIMIT ?2"
                        : "SELECT recno, version, image FROM records WHERE recno<?1 ORDER BY recno DESC LIMIT ?2");
    if (!s) return fail(sqlite3_errcode(db_), "leyendo");
    sqlite3_bind_int64(s, 1, forward ? seq_.fwdRecno : seq_.backRecno);
    sqlite3_bind_int(s, 2, limit);
    int rc;
    while ((rc = sqlite3_step(s)) == SQLITE_ROW)
      batch_.push_back({sqlite3_column_int64(s, 0), sqlite3_column_int64(s, 1), columnImage(s, 2, desc_.recordSize), {}});
    Status st = rc == SQLITE_DONE ? Status() : fail(rc, "leyendo");
    sqlite3_reset(s);
    batchForward_ = forward;
    return st;
  }
  // Two steps, each walking the key's partial index directly: first the rest of
  // the records that share the last value returned (by record number), then
  // the records after that value. (A row-value comparison on (key, recno)
  // would scan a long run of equal values from its start on every batch.)
  const std::string c = keyColumn(seq_.key);
  const bool ranged = !seq_.hi.empty();
  const std::string& at = forward ? seq_.fwdKey : seq_.backKey;
  const std::string sameSql = "SELECT recno, version, image, " + c + " FROM records WHERE " + c + "=?1 AND recno" +
                              (forward ? ">" : "<") + "?2 ORDER BY recno" + (forward ? "" : " DESC") + " LIMIT ?3";
  std::string restSql = "SELECT recno, version, image, " + c + " FROM records WHERE ";
  if (forward)
    restSql += c + ">?1" + (ranged ? " AND " + c + "<?2" : "") + " ORDER BY " + c + ", recno LIMIT ?3";
  else
    restSql += c + "<?1 AND " + c + ">=?2 ORDER BY " + c + " DESC, recno DESC LIMIT ?3";
  for (int step = 0; step < 2 && static_cast<int>(batch_.size()) < limit; ++step) {
    sqlite3_stmt* s = prepare(step == 0 ? sameSql : restSql);
    if (!s) return fail(sqlite3_errcode(db_), "leyendo");
    bindBlob(s, 1, at);
    if (step == 0)
      sqlite3_bind_int64(s, 2, forward ? seq_.fwdRecno : seq_.backRecno);
    else if (forward && ranged)
      bindBlob(s, 2, seq_.hi);
    else if (!forward)
      bindBlob(s, 2, seq_.lo);
    sqlite3_bind_int(s, 3, limit - static_cast<int>(batch_.size()));
    int rc;
    while ((rc = sqlite3_step(s)) == SQLITE_ROW)
      batch_.push_back({sqlite3_column_int64(s, 0), sqlite3_column_int64(s, 1), columnImage(s, 2, desc_.recordSize), columnBlob(s, 3)});
    Status st = rc == SQLITE_DONE ? Status() : fail(rc, "leyendo");
    sqlite3_reset(s);
    if (!st.ok()) return st;
  }
  batchForward_ = forward;
  return {};
}

Status DataFile::next() {
  if (!db_) return {kFileNotOpen, diskName_};
  if (!seq_.active) return {kRecordNotAvailable, diskName_};
  if (int code = faults::take(faults::Op::Read, diskName_)) return {code, diskName_};
  if (!batchForward_) dropBatch();
  if (batch_.empty())
    if (Status s = fillBatch(true); !s.ok()) return s;
  if (batch_.empty()) return {kRecordNotAvailable, diskName_};
  Row row = std::move(batch_.front());
  batch_.pop_front();
  seq_.fwdKey = seq_.backKey = row.key;
  seq_.fwdRecno = seq_.backRecno = row.recno;
  return loadRow(row);
}

Status DataFile::previous() {
  if (!db_) return {kFileNotOpen, diskName_};
  if (!seq_.active) return {kRecordNotAvailable, diskName_};
  if (int code = faults::take(faults::Op::Read, diskName_)) return {code, diskName_};
  if (batchForward_) dropBatch();
  if (batch_.empty())
    if (Status s = fillBatch(false); !s.ok()) return s;
  if (batch_.empty()) return {kRecordNotAvailable, diskName_};
  Row row = std::move(batch_.front());
  batch_.pop_front();
  seq_.fwdKey = seq_.backKey = row.key;
  seq_.fwdRecno = seq_.backRecno = row.recno;
  return loadRow(row);
}

Status DataFile::reget(Position p) {
  if (!db_) return {kFileNotOpen, diskName_};
  if (int code = faults::take(faults::Op::Read, diskName_)) return {code, diskName_};
  sqlite3_stmt* s = prepare("SELECT version, image FROM records WHERE recno=?1");
  if (!s) return fail(sqlite3_errcode(db_), "leyendo");
  sqlite3_bind_int64(s, 1, p.recno);
  const int rc = sqlite3_step(s);
  if (rc != SQLITE_ROW) {
    Status st = rc == SQLITE_DONE ? Status(kRecordNotFound, "registro " + std::to_string(p.recno)) : fail(rc, "leyendo");
    sqlite3_reset(s);
    return st;
  }
  Row row{p.recno, sqlite3_column_int64(s, 0), columnImage(s, 1, desc_.recordSize), {}};
  sqlite3_reset(s);
  return loadRow(row);
}

Status DataFile::resetTo(Position p) {
  if (!db_) return {kFileNotOpen, diskName_};
  if (!seq_.active) return {kRecordNotAvailable, diskName_};
  std::string key;
  if (seq_.key >= 0) {
    sqlite3_stmt* s = prepare("SELECT " + keyColumn(seq_.key) + " FROM records WHERE recno=?1");
    if (!s) return fail(sqlite3_errcode(db_), "leyendo");
    sqlite3_bind_int64(s, 1, p.recno);
    const int rc = sqlite3_step(s);
    const bool found = rc == SQLITE_ROW && sqlite3_column_type(s, 0) != SQLITE_NULL;
    if (found) key = columnBlob(s, 0);
    sqlite3_reset(s);
    if (!found) return {kRecordNotFound, "registro " + std::to_string(p.recno)};
  }
  seq_.fwdKey = seq_.backKey = key;
  seq_.fwdRecno = p.recno - 1;
  seq_.backRecno = p.recno;
  dropBatch();
  return {};
}

void DataFile::restoreSequence(const SequenceState& s) {
  seq_ = s;
  dropBatch();
}

SavedPosition DataFile::savePosition() const {
  return {seq_, currentRecno_, currentVersion_, currentImage_, currentMemo_};
}

void DataFile::restorePosition(const SavedPosition& p) {
  restoreSequence(p.sequence);
  currentRecno_ = p.recno;
  currentVersion_ = p.version;
  currentImage_ = p.image;
  currentMemo_ = p.memo;
}

// --- writing --------------------------------------------------------------------

std::string DataFile::keyLabelOfConstraint(std::string_view message) const {
  // "UNIQUE constraint failed: records.k1"
  const auto dot = message.rfind(".k");
  int index = 0;
  if (dot != std::string_view::npos) std::from_chars(message.data() + dot + 2, message.data() + message.size(), index);
  if (index >= 1 && index <= static_cast<int>(desc_.keys.size())) return std::string(desc_.keys[index - 1].label);
  return std::string(message);
}

Status DataFile::writeMemo(std::int64_t recno, const std::string& oem) {
  sqlite3_stmt* s = oem.empty() ? prepare("DELETE FROM memos WHERE recno=?1")
                                : prepare("INSERT OR REPLACE INTO memos(recno, text) VALUES(?1, ?2)");
  if (!s) return fail(sqlite3_errcode(db_), "escribiendo memo");
  sqlite3_bind_int64(s, 1, recno);
  if (!oem.empty()) bindBlob(s, 2, oem);
  const int rc = sqlite3_step(s);
  sqlite3_reset(s);
  return rc == SQLITE_DONE ? Status() : fail(rc, "escribiendo memo");
}

// Runs `body` atomically: inside the caller's transaction if there is one, else
// in a transaction of its own that takes the write lock at once.
template <typename Body>
static Status atomically(sqlite3* db, bool inTransaction, Body body) {
  if (inTransaction) {
    sqlite3_exec(db, "SAVEPOINT w", nullptr, nullptr, nullptr);
    Status s = body();
    sqlite3_exec(db, s.ok() ? "RELEASE w" : "ROLLBACK TO w; RELEASE w", nullptr, nullptr, nullptr);
    return s;
  }
  const int rc = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) return {(rc & 0xFF) == SQLITE_BUSY ? kRecordHeld : kStorageError, sqlite3_errmsg(db)};
  Status s = body();
  if (s.ok()) {
    if (sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
      s = Status(kStorageError, sqlite3_errmsg(db));
      sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
  } else {
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
  }
  return s;
}

Status DataFile::put() {
  if (!db_) return {kFileNotOpen, diskName_};
  if (!currentRecno_) return {kNoCurrentRecord, diskName_};
  if ((mode_ & 0x0F) == kReadOnly) return {kAccessDenied, diskName_ + " está abierto solo para lectura"};
  if (int code = faults::take(faults::Op::Write, diskName_)) return {code, diskName_};
  std::string image, memo;
  if (Status s = buildImage(image, &memo); !s.ok()) return s;
  // Only key columns whose value changes are set: SQLite rewrites an index
  // entry whenever its column is assigned, even to the same value.
  std::vector<std::string>& keys = keyBuffers_;
  keys.resize(desc_.keys.size());
  std::vector<char> present(desc_.keys.size()), changed(desc_.keys.size());
  packImage(image, packed_);
  std::string sql = "UPDATE records SET version=version+1, image=?1";
  std::string old;
  for (std::size_t i = 0; i < desc_.keys.size(); ++i) {
    bool p = false, oldPresent = false;
    keyOf(static_cast<int>(i), image, keys[i], p);
    keyOf(static_cast<int>(i), currentImage_, old, oldPresent);
    present[i] = p;
    changed[i] = p != oldPresent || keys[i] != old;
    if (changed[i]) sql += ", " + keyColumn(i) + "=?" + std::to_string(i + 4);
  }
  sql += " WHERE recno=?2 AND version=?3";
  const bool memoChanged = desc_.hasMemo() && memo != currentMemo_;
  auto body = [&]() -> Status {
    sqlite3_stmt* s = prepare(sql);
    if (!s) return fail(sqlite3_errcode(db_), "escribiendo");
    bindBlob(s, 1, packed_);
    sqlite3_bind_int64(s, 2, currentRecno_);
    sqlite3_bind_int64(s, 3, currentVersion_);
    for (std::size_t i = 0; i < desc_.keys.size(); ++i) {
      if (!changed[i]) continue;
      if (present[i]) bindBlob(s, static_cast<int>(i) + 4, keys[i]);
      else sqlite3_bind_null(s, static_cast<int>(i) + 4);
    }
    const int rc = sqlite3_step(s);
    const int changes = sqlite3_changes(db_);
    Status st;
    if (rc != SQLITE_DONE)
      st = (rc & 0xFF) == SQLITE_CONSTRAINT ? Status(kDuplicateKey, keyLabelOfConstraint(sqlite3_errmsg(db_)))
                                            : fail(rc, "escribiendo");
    else if (changes == 0)
      st = Status(kRecordChanged, diskName_ + ": registro " + std::to_string(currentRecno_));
    sqlite3_reset(s);
    if (st.ok() && memoChanged) st = writeMemo(currentRecno_, memo);
    return st;
  };
  // One statement is atomic by itself; the memo makes it two.
  Status s = memoChanged ? atomically(db_, inTransaction_, body) : body();
  if (!s.ok()) return s;
  ++currentVersion_;
  currentImage_ = std::move(image);
  currentMemo_ = std::move(memo);
  dropBatch();
  return {};
}

Status DataFile::add() {
  if (!db_) return {kFileNotOpen, diskName_};
  if ((mode_ & 0x0F) == kReadOnly) return {kAccessDenied, diskName_ + " está abierto solo para lectura"};
  if (int code = faults::take(faults::Op::Write, diskName_)) return {code, diskName_};
  std::string image, memo;
  if (Status s = buildImage(image, &memo); !s.ok()) return s;
  if (insertSql_.empty()) {
    std::string values = "VALUES(1, ?1";
    insertSql_ = "INSERT INTO records(version, image";
    for (std::size_t i = 0; i < desc_.keys.size(); ++i) {
      insertSql_ += ", " + keyColumn(i);
      values += ", ?" + std::to_string(i + 2);
    }
    insertSql_ += ") " + values + ")";
  }
  std::vector<std::string>& keys = keyBuffers_;
  keys.resize(desc_.keys.size());
  packImage(image, packed_);
  std::int64_t recno = 0;
  auto body = [&]() -> Status {
    sqlite3_stmt* s = prepare(insertSql_);
    if (!s) return fail(sqlite3_errcode(db_), "agregando");
    bindBlob(s, 1, packed_);
    for (std::size_t i = 0; i < desc_.keys.size(); ++i) {
      bool present = false;
      keyOf(static_cast<int>(i), image, keys[i], present);
      if (present) bindBlob(s, static_cast<int>(i) + 2, keys[i]);
      else sqlite3_bind_null(s, static_cast<int>(i) + 2);
    }
    const int rc = sqlite3_step(s);
    Status st;
    if (rc != SQLITE_DONE)
      st = (rc & 0xFF) == SQLITE_CONSTRAINT ? Status(kDuplicateKey, keyLabelOfConstraint(sqlite3_errmsg(db_)))
                                            : fail(rc, "agregando");
    sqlite3_reset(s);
    recno = sqlite3_last_insert_rowid(db_);
    if (st.ok() && !memo.empty()) st = writeMemo(recno, memo);
    return st;
  };
  Status s = !memo.empty() ? atomically(db_, inTransaction_, body) : body();
  if (!s.ok()) return s;
  currentRecno_ = recno;
  currentVersion_ = 1;
  currentImage_ = std::move(image);
  currentMemo_ = std::move(memo);
  dropBatch();
  return {};
}

Status DataFile::erase() {
  if (!db_) return {kFileNotOpen, diskName_};
  if (!currentRecno_) return {kNoCurrentRecord, diskName_};
  if ((mode_ & 0x0F) == kReadOnly) return {kAccessDenied, diskName_ + " está abierto solo para lectura"};
  if (int code = faults::take(faults::Op::Write, diskName_)) return {code, diskName_};
  auto body = [&]() -> Status {
    sqlite3_stmt* s = prepare("DELETE FROM records WHERE recno=?1 AND version=?2");
    if (!s) return fail(sqlite3_errcode(db_), "borrando");
    sqlite3_bind_int64(s, 1, currentRecno_);
    sqlite3_bind_int64(s, 2, currentVersion_);
    const int rc = sqlite3_step(s);
    const int changes = sqlite3_changes(db_);
    sqlite3_reset(s);
    if (rc != SQLITE_DONE) return fail(rc, "borrando");
    if (changes == 0) return {kRecordChanged, diskName_ + ": registro " + std::to_string(currentRecno_)};
    return desc_.hasMemo() ? writeMemo(currentRecno_, {}) : Status();
  };
  Status s = desc_.hasMemo() ? atomically(db_, inTransaction_, body) : body();
  if (!s.ok()) return s;
  currentRecno_ = 0;
  dropBatch();
  return {};
}

// --- commands and transactions ---------------------------------------------------

Status DataFile::send(std::string_view command) {
  auto startsWith = [&](std::string_view prefix) {
    if (command.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
      if (std::toupper(static_cast<unsigned char>(command[i])) != std::toupper(static_cast<unsigned char>(prefix[i])))
        return false;
    return true;
  };
  if (startsWith("Recover=")) {
    const std::string_view n = command.substr(8);
    int seconds = 0;
    auto [ptr, ec] = std::from_chars(n.data(), n.data() + n.size(), seconds);
    if (ec != std::errc() || ptr != n.data() + n.size() || seconds < 0)
      return {kInvalidCommand, std::string(command)};
    recoverSeconds_ = seconds;
    return {};
  }
  if (startsWith("QUICKSCAN=")) {
    std::string v(command.substr(10));
    for (char& c : v) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (v != "on" && v != "off") return {kInvalidCommand, std::string(command)};
    quickScan_ = v == "on";
    return {};
  }
  return {kInvalidCommand, std::string(command)};
}

Status DataFile::begin(int timeoutSeconds) {
  if (!db_) return {kFileNotOpen, diskName_};
  if (inTransaction_) return {kTransactionFailed, diskName_ + ": ya hay una transacción en curso"};
  if (int code = faults::take(faults::Op::Begin, diskName_)) return {code, diskName_};
  sqlite3_busy_timeout(db_, timeoutSeconds * 1000);
  const int rc = sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
  sqlite3_busy_timeout(db_, kDefaultBusyMs);
  if (rc != SQLITE_OK) {
    if ((rc & 0xFF) == SQLITE_BUSY)
      return {kTransactionFailed, diskName_ + ": otra estación está escribiendo en el archivo"};
    return fail(rc, "iniciando la transacción");
  }
  inTransaction_ = true;
  return {};
}

Status DataFile::commit() {
  if (!inTransaction_) return {kTransactionFailed, diskName_ + ": no hay transacción en curso"};
  const int rc = sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) return fail(rc, "confirmando la transacción");
  inTransaction_ = false;
  return {};
}

Status DataFile::refreshCurrent() {
  // After a rollback the current record is what the file holds again; the
  // buffer keeps what the caller put in it.
  if (!currentRecno_) return {};
  sqlite3_stmt* s = prepare("SELECT version, image FROM records WHERE recno=?1");
  if (!s) return fail(sqlite3_errcode(db_), "leyendo");
  sqlite3_bind_int64(s, 1, currentRecno_);
  const int rc = sqlite3_step(s);
  if (rc == SQLITE_ROW) {
    currentVersion_ = sqlite3_column_int64(s, 0);
    currentImage_ = columnImage(s, 1, desc_.recordSize);
  } else {
    currentRecno_ = 0;  // the record does not exist any more (an add rolled back)
  }
  sqlite3_reset(s);
  if (currentRecno_ && desc_.hasMemo()) return readMemo(currentRecno_, currentMemo_);
  return {};
}

Status DataFile::rollback() {
  if (!inTransaction_) return {kTransactionFailed, diskName_ + ": no hay transacción en curso"};
  const int rc = sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  inTransaction_ = false;
  dropBatch();
  if (rc != SQLITE_OK) return fail(rc, "deshaciendo la transacción");
  return refreshCurrent();
}

// --- counts and checks -------------------------------------------------------------

Status DataFile::recordCount(std::int64_t& count) {
  if (!db_) return {kFileNotOpen, diskName_};
  sqlite3_stmt* s = prepare("SELECT count(*) FROM records");
  if (!s) return fail(sqlite3_errcode(db_), "contando");
  const int rc = sqlite3_step(s);
  count = rc == SQLITE_ROW ? sqlite3_column_int64(s, 0) : 0;
  sqlite3_reset(s);
  return rc == SQLITE_ROW ? Status() : fail(rc, "contando");
}

Status DataFile::verify(std::vector<std::string>& problems) {
  if (!db_) return {kFileNotOpen, diskName_};
  {
    Once q;
    if (sqlite3_prepare_v2(db_, "PRAGMA integrity_check", -1, &q.s, nullptr) != SQLITE_OK)
      return fail(sqlite3_errcode(db_), "verificando");
    int rc;
    while ((rc = sqlite3_step(q.s)) == SQLITE_ROW) {
      const std::string line = reinterpret_cast<const char*>(sqlite3_column_text(q.s, 0));
      if (line != "ok") problems.push_back("contenedor: " + line);
    }
    if (rc != SQLITE_DONE) problems.push_back(std::string("contenedor: ") + sqlite3_errmsg(db_));
  }
  std::string cols;
  for (std::size_t i = 0; i < desc_.keys.size(); ++i) cols += ", " + keyColumn(i);
  Once q;
  if (sqlite3_prepare_v2(db_, ("SELECT recno, image" + cols + " FROM records ORDER BY recno").c_str(), -1, &q.s,
                         nullptr) != SQLITE_OK)
    return fail(sqlite3_errcode(db_), "verificando");
  std::string key;
  int rc;
  while ((rc = sqlite3_step(q.s)) == SQLITE_ROW) {
    const std::int64_t recno = sqlite3_column_int64(q.s, 0);
    const std::string image = columnImage(q.s, 1, desc_.recordSize);
    const std::string where = "registro " + std::to_string(recno);
    if (image.size() != desc_.recordSize) {
      problems.push_back(where + ": la imagen del registro está dañada");
      continue;
    }
    for (const FieldDesc& f : desc_.fields) {
      if (f.type == FieldType::String) {
        for (std::size_t k = 0; k < f.size; ++k)
          if (!cp::ansiStorable(cp::oemToAnsi(static_cast<unsigned char>(image[f.offset + k])))) {
            problems.push_back(where + ", " + std::string(f.label) + ": carácter no válido en la página de códigos");
            break;
          }
      } else if (f.type == FieldType::Decimal) {
        const auto* p = reinterpret_cast<const unsigned char*>(image.data()) + f.offset;
        bool sound = (p[0] >> 4) == 0 || (p[0] >> 4) == 0xF;
        for (std::size_t k = 0; k < f.size; ++k)
          sound = sound && (p[k] & 0x0F) <= 9 && (k == 0 || (p[k] >> 4) <= 9);
        if (!sound) problems.push_back(where + ", " + std::string(f.label) + ": decimal mal formado");
      }
    }
    for (std::size_t i = 0; i < desc_.keys.size(); ++i) {
      bool present = false;
      keyOf(static_cast<int>(i), image, key, present);
      const bool stored = sqlite3_column_type(q.s, static_cast<int>(i) + 2) != SQLITE_NULL;
      if (present != stored || (present && columnBlob(q.s, static_cast<int>(i) + 2) != key))
        problems.push_back(where + ": la clave " + std::string(desc_.keys[i].label) + " no coincide con el registro");
    }
  }
  if (rc != SQLITE_DONE) problems.push_back(std::string("registros: ") + sqlite3_errmsg(db_));
  return {};
}

}  // namespace store
