// The tracking window's work against the store doing the same on its own: a
// teacher with 20 subjects, one of them of 1,000 students, in a grade book of
// 100,000 lines.
//   GradeListLoad: the grade list (re)loaded through the file manager into its
//                  rows and table model, against the store reading the same
//                  1,000 rows in the same key order.
//   Salir:         the recalculation of that subject through the file manager,
//                  against a plain store scan that applies the same rule and
//                  writes the same 1,000 lines.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTableView>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "dictionary/dictionary.h"
#include "dictionary/globals.h"
#include "framework/browse_view.h"
#include "procedures/procedures.h"
#include "ratio_reporter.h"

namespace {

namespace fs = std::filesystem;

constexpr std::int32_t kBigSubject = 1;
constexpr int kBigStudents = 1000;
constexpr int kLines = 100000;
constexpr std::int32_t kDni = 25987654;

fs::path workDir() {
  static const fs::path dir = [] {
    std::string pattern = (fs::temp_directory_path() / "kamo-tracking-bench-XXXXXX").string();
    return fs::path(::mkdtemp(pattern.data()));
  }();
  return dir;
}

// The data files, made once in the work folder (the program's current directory).
void makeSchool() {
  static bool made = false;
  if (made) return;
  made = true;
  fs::current_path(workDir());
  store::DataFile subjects(KAMATERIAS);
  KAM_RECORD kam;
  subjects.bind(kam.image(), kam.memo());
  if (!subjects.create().ok() || !subjects.open().ok()) std::abort();
  for (int s = 1; s <= 20; ++s) {
    kam.clear();
    kam.NRO_REGISTRO = s;
    kam.DNI_DOCENTE = kDni;
    kam.PROFESOR = "Docente de prueba";
    kam.MATERIA = "Materia " + std::to_string(s);
    if (!subjects.add().ok()) std::abort();
  }
  store::DataFile grades(KALIBRETA);
  KAL_RECORD kal;
  grades.bind(kal.image());
  if (!grades.create().ok() || !grades.open().ok() || !grades.begin(10).ok()) std::abort();
  for (int i = 0; i < kLines; ++i) {
    kal.clear();
    kal.NRO_REGISTRO = i + 1;
    // The big subject's lines are spread over the whole file, as years of loading leave them.
    kal.COD_MATERIA = i % 100 == 0 ? kBigSubject : 21 + i % 2475;
    kal.NRO_LEGAJO = 5000 + i;
    kal.ALUMNO = "Alumno " + std::to_string((i * 7919) % kLines);
    (void)kal.EVALUACION_ANUAL.set(store::Dec::fromCents(300 + (i * 37) % 700));
    if (!grades.add().ok()) std::abort();
  }
  if (!grades.commit().ok()) std::abort();
}

// The program's side: the dictionary on this thread, the teacher's subject in KAM.
void startProgram() {
  static bool started = false;
  if (started) return;
  started = true;
  makeSchool();
  static fw::StderrSink sink;
  GlobalErrors.Init(&CurrentGlobalErrorStatus);
  GlobalErrors.SetSink(&sink);
  DctInit();
  Relate::KAMATERIAS->Open(0);
  Relate::KALIBRETA->Open(0);
  KAM.clear();
  KAM.DNI_DOCENTE = kDni;
  Access::KAMATERIAS->Fetch(KAM.CLAVE_DNI_PROFESOR);  // subject 1, the big one
}

void GradeListLoad_ours(benchmark::State& state) {
  startProgram();
  fw::BrowseClass grades;
  grades.Init(*Relate::KALIBRETA);
  grades.AddSortOrder(KAL.CLAVE_CODMATERIA_ALUALFA);
  grades.AddRange([] { KAL.COD_MATERIA = KAM.NRO_REGISTRO.get(); });
  grades.AddField(&KAL.NRO_LEGAJO, 4);
  grades.AddField(&KAL.ALUMNO, 30);
  grades.AddField(&KAL.EVALUACION_ANUAL, 4);
  grades.AddField(&KAL.FINAL, 4);
  grades.AddField(&KAL.ETADO, 20);
  grades.AddField(&KAL.NRO_REGISTRO, 4);
  grades.AddField(&KAL.COD_MATERIA, 4);
  fw::Column c;
  c.format = [](const char* b) { return fw::formatText(b, 30, 40); };
  fw::BrowseModel model(grades, {c});
  QTableView view;
  view.setModel(&model);
  for (auto _ : state) {
    if (grades.ResetQueue() != kBigStudents) std::abort();
    model.Reload();
  }
}

void GradeListLoad_baseline(benchmark::State& state) {
  makeSchool();
  store::DataFile f(KALIBRETA);
  KAL_RECORD kal;
  f.bind(kal.image());
  if (!f.open().ok()) std::abort();
  for (auto _ : state) {
    kal.clear();
    kal.COD_MATERIA = kBigSubject;
    if (!f.setRange(KAL.CLAVE_CODMATERIA_ALUALFA, 1).ok()) std::abort();
    int n = 0;
    while (f.next().ok()) ++n;
    if (n != kBigStudents) std::abort();
  }
}

void Salir_ours(benchmark::State& state) {
  startProgram();
  for (auto _ : state) RecalculateSubjectLines();
}

void Salir_baseline(benchmark::State& state) {
  makeSchool();
  store::DataFile f(KALIBRETA);
  KAL_RECORD kal;
  f.bind(kal.image());
  if (!f.open().ok()) std::abort();
  for (auto _ : state) {
    if (!f.setPhysical().ok()) std::abort();
    while (f.next().ok()) {
      if (kal.COD_MATERIA.get() != kBigSubject) continue;
      ApplyStatusRule(kal.EVALUACION_ANUAL, kal.FINAL, kal.ETADO);
      kal.INGRESO = "APP";
      kal.OPERADOR = "Docente de prueba";
      if (!f.put().ok()) std::abort();
    }
  }
}

}  // namespace

BENCHMARK(GradeListLoad_ours)->Name("GradeListLoad/ours")->Unit(benchmark::kMillisecond)->Repetitions(5)->Iterations(20)->ReportAggregatesOnly(true);
BENCHMARK(GradeListLoad_baseline)->Name("GradeListLoad/baseline")->Unit(benchmark::kMillisecond)->Repetitions(5)->Iterations(20)->ReportAggregatesOnly(true);
BENCHMARK(Salir_ours)->Name("Salir/ours")->Unit(benchmark::kMillisecond)->Repetitions(3)->Iterations(2)->ReportAggregatesOnly(true);
BENCHMARK(Salir_baseline)->Name("Salir/baseline")->Unit(benchmark::kMillisecond)->Repetitions(3)->Iterations(2)->ReportAggregatesOnly(true);

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  kamo::bench::RatioReporter reporter({{"GradeListLoad", 1.5}, {"Salir", 1.2}});
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  fs::current_path(fs::temp_directory_path());
  fs::remove_all(workDir());
  return 0;
}
