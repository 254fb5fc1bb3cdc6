// The progress sheet of a subject of 1,000 students: rendered into preview
// pages and written as a PDF by the report engine, against Qt painting the
// same texts, lines and boxes directly into a PDF (the floor).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPainter>
#include <QPdfWriter>
#include <cstdlib>
#include <filesystem>

#include "dictionary/records.h"
#include "framework/window_manager.h"
#include "procedures/planilla.h"
#include "ratio_reporter.h"

namespace {

namespace fs = std::filesystem;
constexpr int kStudents = 1000;

const fs::path& pdfPath() {
  static const fs::path p = fs::temp_directory_path() / ("kamo-report-bench-" + std::to_string(::getpid()) + ".pdf");
  return p;
}

const std::vector<KAL_RECORD>& students() {
  static std::vector<KAL_RECORD> all = [] {
    std::vector<KAL_RECORD> v(kStudents);
    for (int i = 0; i < kStudents; ++i) {
      KAL_RECORD& r = v[static_cast<std::size_t>(i)];
      r.clear();
      r.MATERIAS = "Historia";
      r.ALUMNO = "Alumno " + std::to_string(i);
      r.NRO_LEGAJO = 4000 + i;
      for (auto* e : {&r.ETAPA21, &r.ETAPA22, &r.ETAPA23, &r.ETAPA24, &r.ETAPA25, &r.ETAPA26, &r.ETAPA30})
        (void)e->set(store::Dec::fromCents(100 + (i * 37) % 900));
      (void)r.EVALUACION_ANUAL.set(store::Dec::fromCents(600 + i % 400));
      (void)r.FINAL.set(r.EVALUACION_ANUAL.get());
      r.ETADO = "APRUEBA";
    }
    return v;
  }();
  return all;
}

std::vector<fw::report::Page> render(fw::report::Engine& engine) {
  engine.Open();
  for (const KAL_RECORD& r : students()) {
    KAL = r;
    engine.PrintDetail();
  }
  engine.End();
  return engine.TakePages();
}

void Sheet_ours(benchmark::State& state) {
  KAM.clear();
  KAM.CICLO = "Ciclo Orientado";
  fw::report::Engine* engine = nullptr;
  const fw::report::Layout layout = PlanillaLayout([&engine] { return engine->Count(); });
  fw::report::Engine e(layout);
  engine = &e;
  for (auto _ : state) {
    const auto pages = render(e);
    if (!fw::report::WritePdf(layout, pages, QString::fromStdString(pdfPath().string()))) std::abort();
  }
}

// The same operations, painted straight into a PDF with no engine between.
void Sheet_baseline(benchmark::State& state) {
  fw::report::Engine* engine = nullptr;
  const fw::report::Layout layout = PlanillaLayout([&engine] { return engine->Count(); });
  fw::report::Engine e(layout);
  engine = &e;
  const auto pages = render(e);
  for (auto _ : state) {
    QPdfWriter writer(QString::fromStdString(pdfPath().string()));
    writer.setResolution(1200);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0)));
    QPainter p(&writer);
    const double s = 1200 / 25.4;
    for (std::size_t i = 0; i < pages.size(); ++i) {
      if (i > 0) writer.newPage();
      for (const fw::report::Op& op : pages[i].ops) {
        const QRectF r(op.rect.x() * s, op.rect.y() * s, op.rect.width() * s, op.rect.height() * s);
        if (op.kind == fw::report::Kind::Box) {
          p.setPen(QPen(op.color, 0));
          p.setBrush(op.fill);
          p.drawRect(r);
        } else if (op.kind == fw::report::Kind::Line) {
          p.setPen(QPen(op.color, 0));
          p.drawLine(r.topLeft(), r.bottomRight());
        } else {
          QFont f(op.font);
          f.setPointSizeF(op.points);
          f.setBold(op.bold);
          p.setFont(f);
          p.setPen(Qt::black);
          p.drawText(r, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, op.text);
        }
      }
    }
  }
}

}  // namespace

BENCHMARK(Sheet_ours)->Name("Sheet1000/ours")->Unit(benchmark::kMillisecond)->Repetitions(5)->Iterations(3)->ReportAggregatesOnly(true);
BENCHMARK(Sheet_baseline)->Name("Sheet1000/baseline")->Unit(benchmark::kMillisecond)->Repetitions(5)->Iterations(3)->ReportAggregatesOnly(true);

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  fw::installFontSubstitutes();
  benchmark::Initialize(&argc, argv);
  kamo::bench::RatioReporter reporter({{"Sheet1000", 1.5}});
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  fs::remove(pdfPath());
  return 0;
}
