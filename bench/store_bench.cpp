// The store against plain SQLite on a grade book of 100,000 KALIBRETA records
// (2,500 subjects of 40 students). The baseline is what a developer would
// write instead: an ordinary table with one typed column per field and one
// ordinary index per key. Both sides use WAL with synchronous=FULL.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "dictionary/records.h"
#include "ratio_reporter.h"
#include "store/data_file.h"

namespace {

constexpr int kSubjects = 2500;
constexpr int kStudents = 40;
constexpr int kRecords = kSubjects * kStudents;

std::filesystem::path workDir() {
  static const std::filesystem::path dir = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "kamo-bench-XXXXXX").string();
    return std::filesystem::path(::mkdtemp(pattern.data()));
  }();
  return dir;
}

// --- the data, prepared once for both sides ----------------------------------------

std::vector<KAL_RECORD>& images() {
  static std::vector<KAL_RECORD> all = [] {
    static const char* const kSurnames[] = {"García", "Fernández", "González", "Rodríguez", "López", "Martínez",
                                            "Pérez", "Gómez", "Sánchez", "Díaz", "Núñez", "Álvarez", "Peña"};
    static const char* const kNames[] = {"María", "José", "Lucía", "Martín", "Sofía", "Tomás", "Valentina", "Iñaki"};
    std::mt19937 rng(42);
    std::vector<KAL_RECORD> v(kRecords);
    for (int s = 0; s < kSubjects; ++s)
      for (int i = 0; i < kStudents; ++i) {
        KAL_RECORD& r = v[static_cast<std::size_t>(s * kStudents + i)];
        r.clear();
        r.NRO_REGISTRO = s * 100 + i + 1;
        r.NRO_LEGAJO = 10000 + static_cast<std::int32_t>(rng() % 90000);
        r.NRO_ORDEN = static_cast<std::int16_t>(i + 1);
        r.SEXO = rng() % 2 ? "M" : "F";
        std::string alumno = std::string(kSurnames[rng() % 13]) + ", " + kNames[rng() % 8];
        std::string ansi;
        for (std::size_t k = 0; k < alumno.size(); ++k) {  // UTF-8 to Windows-1252 for these letters
          const auto c = static_cast<unsigned char>(alumno[k]);
          if (c == 0xC3) ansi += static_cast<char>(static_cast<unsigned char>(alumno[++k]) + 0x40);
          else ansi += static_cast<char>(c);
        }
        r.ALUMNO = ansi;
        r.COD_MATERIA = s + 1;
        r.MATERIAS = "Historia";
        for (auto* e : {&r.ETAPA21, &r.ETAPA22, &r.ETAPA23, &r.ETAPA24, &r.ETAPA25, &r.ETAPA26, &r.ETAPA30})
          (void)e->set(store::Dec::fromCents(100 + static_cast<std::int64_t>(rng() % 900)));
        (void)r.EVALUACION_ANUAL.set(store::Dec::fromCents(100 + static_cast<std::int64_t>(rng() % 900)));
        (void)r.FINAL.set(r.EVALUACION_ANUAL.get());
        r.ETADO = r.EVALUACION_ANUAL.get() >= store::Dec::fromUnits(6) ? "APRUEBA" : "COLOQUIO";
        r.FECHA_OPERACION.set(1 + i % 28, 1 + s % 12, 2026);
        r.INGRESO = "APP";
        r.OPERADOR = "Docente";
      }
    return v;
  }();
  return all;
}

// --- our store ---------------------------------------------------------------------------

struct Ours {
  std::string path;
  store::DataFile file;
  KAL_RECORD rec;
  explicit Ours(std::string p) : path(std::move(p)), file(KALIBRETA, path) { file.bind(rec.image()); }
};

void removeDataFile(const std::string& path) {
  for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path + suffix);
}

void loadOurs(Ours& o) {
  removeDataFile(o.path);
  if (!o.file.create().ok() || !o.file.open().ok() || !o.file.begin(2).ok()) std::abort();
  for (const KAL_RECORD& r : images()) {
    o.rec = r;
    if (!o.file.add().ok()) std::abort();
  }
  if (!o.file.commit().ok()) std::abort();
}

Ours& loadedOurs() {
  static Ours* o = [] {
    auto* p = new Ours((workDir() / "KALIBRETA.TPS").string());
    loadOurs(*p);
    return p;
  }();
  return *o;
}

// --- plain SQLite --------------------------------------------------------------------------

std::string column(const store::FieldDesc& f) {
  std::string name(f.label.substr(f.label.find(':') + 1));
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return name;
}

struct Plain {
  sqlite3* db = nullptr;
  std::string path;
  // A row as the program would hold it: integers (decimals in hundredths,
  // dates as day numbers) and texts.
  std::vector<std::int64_t> ints = std::vector<std::int64_t>(KALIBRETA.fields.size());
  std::vector<std::string> texts = std::vector<std::string>(KALIBRETA.fields.size());

  explicit Plain(std::string p) : path(std::move(p)) {}
  void exec(const std::string& sql) const {
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) std::abort();
  }
  sqlite3_stmt* prepare(const std::string& sql) const {
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &s, nullptr) != SQLITE_OK) std::abort();
    return s;
  }
  void readRow(sqlite3_stmt* s) {
    for (std::size_t i = 0; i < KALIBRETA.fields.size(); ++i) {
      if (KALIBRETA.fields[i].type == store::FieldType::String)
        texts[i].assign(reinterpret_cast<const char*>(sqlite3_column_text(s, static_cast<int>(i))),
                        static_cast<std::size_t>(sqlite3_column_bytes(s, static_cast<int>(i))));
      else
        ints[i] = sqlite3_column_int64(s, static_cast<int>(i));
    }
  }
};

// The plain row values of each record, in UTF-8 as a developer would store them.
struct PlainValues {
  std::vector<std::int64_t> ints;
  std::vector<std::string> texts;
};

const std::vector<PlainValues>& plainValues() {
  static std::vector<PlainValues> all = [] {
    std::vector<PlainValues> v;
    v.reserve(kRecords);
    for (const KAL_RECORD& r : images()) {
      PlainValues p{std::vector<std::int64_t>(KALIBRETA.fields.size()), std::vector<std::string>(KALIBRETA.fields.size())};
      for (std::size_t i = 0; i < KALIBRETA.fields.size(); ++i) {
        const store::FieldDesc& f = KALIBRETA.fields[i];
        const unsigned char* b = r.image() + f.offset;
        switch (f.type) {
          case store::FieldType::Long: p.ints[i] = reinterpret_cast<const store::Long*>(b)->get(); break;
          case store::FieldType::Short: p.ints[i] = reinterpret_cast<const store::Short*>(b)->get(); break;
          case store::FieldType::Decimal: p.ints[i] = store::packed::decode(b, f.size).cents(); break;
          case store::FieldType::Date: p.ints[i] = reinterpret_cast<const store::Date*>(b)->dayNumber(); break;
          case store::FieldType::String: {
            std::string utf8;
            for (std::size_t k = 0; k < f.size; ++k) {
              const auto c = b[k];
              if (c < 0x80) utf8 += static_cast<char>(c);
              else utf8 += static_cast<char>(0xC0 | (c >> 6)), utf8 += static_cast<char>(0x80 | (c & 0x3F));
            }
            while (!utf8.empty() && utf8.back() == ' ') utf8.pop_back();
            p.texts[i] = utf8;
          }
        }
      }
      v.push_back(std::move(p));
    }
    return v;
  }();
  return all;
}

void loadPlain(Plain& p) {
  if (p.db) sqlite3_close(p.db);
  removeDataFile(p.path);
  if (sqlite3_open(p.path.c_str(), &p.db) != SQLITE_OK) std::abort();
  sqlite3_busy_timeout(p.db, 2000);
  p.exec("PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL;");
  std::string cols, marks;
  for (std::size_t i = 0; i < KALIBRETA.fields.size(); ++i) {
    const store::FieldDesc& f = KALIBRETA.fields[i];
    cols += (i ? ", " : "") + column(f) + (f.type == store::FieldType::String ? " TEXT" : " INTEGER");
    marks += i ? ", ?" : "?";
  }
  p.exec("CREATE TABLE libreta(" + cols + ")");
  for (std::size_t k = 0; k < KALIBRETA.keys.size(); ++k) {
    const store::KeyDesc& key = KALIBRETA.keys[k];
    std::string parts;
    for (const store::KeyPart& part : key.components()) {
      const store::FieldDesc& f = KALIBRETA.fields[part.field];
      parts += (parts.empty() ? "" : ", ") + column(f);
      if (key.nocase && f.type == store::FieldType::String) parts += " COLLATE NOCASE";
      if (part.descending) parts += " DESC";
    }
    p.exec(std::string("CREATE ") + (key.dup ? "" : "UNIQUE ") + "INDEX i" + std::to_string(k) + " ON libreta(" +
           parts + ")");
  }
  sqlite3_stmt* ins = p.prepare("INSERT INTO libreta VALUES(" + marks + ")");
  p.exec("BEGIN IMMEDIATE");
  for (const PlainValues& v : plainValues()) {
    sqlite3_reset(ins);
    for (std::size_t i = 0; i < KALIBRETA.fields.size(); ++i) {
      if (KALIBRETA.fields[i].type == store::FieldType::String)
        sqlite3_bind_text(ins, static_cast<int>(i) + 1, v.texts[i].data(), static_cast<int>(v.texts[i].size()),
                          SQLITE_STATIC);
      else
        sqlite3_bind_int64(ins, static_cast<int>(i) + 1, v.ints[i]);
    }
    if (sqlite3_step(ins) != SQLITE_DONE) std::abort();
  }
  p.exec("COMMIT");
  sqlite3_finalize(ins);
}

Plain& loadedPlain() {
  static Plain* p = [] {
    auto* q = new Plain((workDir() / "plain.db").string());
    loadPlain(*q);
    return q;
  }();
  return *p;
}

std::int32_t randomNro(std::mt19937& rng) {
  return static_cast<std::int32_t>((rng() % kSubjects) * 100 + rng() % kStudents + 1);
}

// --- benchmarks ------------------------------------------------------------------------------

void BulkLoad_ours(benchmark::State& state) {
  images();
  Ours o((workDir() / "bulk.TPS").string());
  for (auto _ : state) {
    o.file.close();
    loadOurs(o);
  }
}

void BulkLoad_baseline(benchmark::State& state) {
  plainValues();
  Plain p((workDir() / "bulk.db").string());
  for (auto _ : state) loadPlain(p);
  sqlite3_close(p.db);
}

void KeyedFetch_ours(benchmark::State& state) {
  Ours& o = loadedOurs();
  std::mt19937 rng(7);
  for (auto _ : state) {
    o.rec.NRO_REGISTRO = randomNro(rng);
    if (!o.file.fetch(KAL.CLAVE_PRIMARIA).ok()) std::abort();
    benchmark::DoNotOptimize(o.rec);
  }
}

void KeyedFetch_baseline(benchmark::State& state) {
  Plain& p = loadedPlain();
  sqlite3_stmt* s = p.prepare("SELECT * FROM libreta WHERE nro_registro=?");
  std::mt19937 rng(7);
  for (auto _ : state) {
    sqlite3_reset(s);
    sqlite3_bind_int(s, 1, randomNro(rng));
    if (sqlite3_step(s) != SQLITE_ROW) std::abort();
    p.readRow(s);
    benchmark::DoNotOptimize(p.ints);
  }
  sqlite3_finalize(s);
}

void SubjectLines_ours(benchmark::State& state) {
  Ours& o = loadedOurs();
  std::mt19937 rng(11);
  for (auto _ : state) {
    o.rec.COD_MATERIA = static_cast<std::int32_t>(rng() % kSubjects + 1);
    if (!o.file.setRange(KAL.CLAVE_CODMATERIA_ALUALFA, 1).ok()) std::abort();
    int n = 0;
    while (o.file.next().ok()) ++n;
    if (n != kStudents) std::abort();
  }
}

void SubjectLines_baseline(benchmark::State& state) {
  Plain& p = loadedPlain();
  sqlite3_stmt* s = p.prepare("SELECT * FROM libreta WHERE cod_materia=? ORDER BY cod_materia, alumno");
  std::mt19937 rng(11);
  for (auto _ : state) {
    sqlite3_reset(s);
    sqlite3_bind_int(s, 1, static_cast<int>(rng() % kSubjects + 1));
    int n = 0;
    while (sqlite3_step(s) == SQLITE_ROW) {
      p.readRow(s);
      ++n;
    }
    if (n != kStudents) std::abort();
  }
  sqlite3_finalize(s);
}

void UpdateOne_ours(benchmark::State& state) {
  Ours& o = loadedOurs();
  std::mt19937 rng(13);
  for (auto _ : state) {
    state.PauseTiming();
    o.rec.NRO_REGISTRO = randomNro(rng);
    if (!o.file.fetch(KAL.CLAVE_PRIMARIA).ok()) std::abort();
    state.ResumeTiming();
    (void)o.rec.EVALUACION_ANUAL.set(store::Dec::fromCents(700 + static_cast<std::int64_t>(rng() % 300)));
    (void)o.rec.FINAL.set(o.rec.EVALUACION_ANUAL.get());
    o.rec.ETADO = "APRUEBA";
    o.rec.OPERADOR = "Otra docente";
    if (!o.file.put().ok()) std::abort();
  }
}

void UpdateOne_baseline(benchmark::State& state) {
  Plain& p = loadedPlain();
  sqlite3_stmt* s =
      p.prepare("UPDATE libreta SET evaluacion_anual=?, final=?, etado=?, operador=? WHERE nro_registro=?");
  std::mt19937 rng(13);
  for (auto _ : state) {
    const std::int32_t nro = randomNro(rng);
    const auto mark = 700 + static_cast<std::int64_t>(rng() % 300);
    sqlite3_reset(s);
    sqlite3_bind_int64(s, 1, mark);
    sqlite3_bind_int64(s, 2, mark);
    sqlite3_bind_text(s, 3, "APRUEBA", -1, SQLITE_STATIC);
    sqlite3_bind_text(s, 4, "Otra docente", -1, SQLITE_STATIC);
    sqlite3_bind_int(s, 5, nro);
    if (sqlite3_step(s) != SQLITE_DONE) std::abort();
  }
  sqlite3_finalize(s);
}

void PhysicalScan_ours(benchmark::State& state) {
  Ours& o = loadedOurs();
  for (auto _ : state) {
    if (!o.file.setPhysical().ok()) std::abort();
    int n = 0;
    while (o.file.next().ok()) ++n;
    if (n != kRecords) std::abort();
  }
}

void PhysicalScan_baseline(benchmark::State& state) {
  Plain& p = loadedPlain();
  sqlite3_stmt* s = p.prepare("SELECT * FROM libreta");
  for (auto _ : state) {
    sqlite3_reset(s);
    int n = 0;
    while (sqlite3_step(s) == SQLITE_ROW) {
      p.readRow(s);
      ++n;
    }
    if (n != kRecords) std::abort();
  }
  sqlite3_finalize(s);
}

}  // namespace

#define KAMO_PAIR(op, reps, iters)                                                                          \
  BENCHMARK(op##_ours)->Name(#op "/ours")->Unit(benchmark::kMicrosecond)->Repetitions(reps)->Iterations(iters) \
      ->ReportAggregatesOnly(true);                                                                         \
  BENCHMARK(op##_baseline)                                                                                  \
      ->Name(#op "/baseline")                                                                               \
      ->Unit(benchmark::kMicrosecond)                                                                       \
      ->Repetitions(reps)                                                                                   \
      ->Iterations(iters)                                                                                   \
      ->ReportAggregatesOnly(true)

KAMO_PAIR(BulkLoad, 3, 1);
KAMO_PAIR(KeyedFetch, 5, 20000);
KAMO_PAIR(SubjectLines, 5, 2000);
KAMO_PAIR(UpdateOne, 5, 200);
KAMO_PAIR(PhysicalScan, 5, 3);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  kamo::bench::RatioReporter reporter({{"BulkLoad", 2.0},
                                       {"KeyedFetch", 1.3},
                                       {"SubjectLines", 1.3},
                                       {"UpdateOne", 1.3},
                                       {"PhysicalScan", 1.3}});
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  if (std::getenv("KAMO_BENCH_KEEP"))
    std::printf("data files kept in %s\n", workDir().c_str());
  else
    std::filesystem::remove_all(workDir());
  return 0;
}
