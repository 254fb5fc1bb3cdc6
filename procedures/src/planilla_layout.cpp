// The printed progress sheet ("Planilla"): A4 landscape, millimetres. The
// values come from the thread's record buffers when their band prints.
#include "procedures/planilla.h"

#include "dictionary/records.h"
#include "store/codepage.h"

namespace {

using fw::report::Align;
using fw::report::Control;
using fw::report::Kind;

const QColor kLightGrey(230, 230, 230);
const QColor kGrey(128, 128, 128);
const QColor kOlive(128, 128, 64);

QString text(std::string_view ansi) { return QString::fromStdString(store::cp::ansiToUtf8(ansi)); }

Control box(int n, double x, double y, double w, double h, QColor color) {
  Control c;
  c.number = n;
  c.kind = Kind::Box;
  c.x = x, c.y = y, c.w = w, c.h = h;
  c.color = color;
  c.fill = color;
  return c;
}

Control line(int n, double x, double y, double w, double h, QColor color) {
  Control c = box(n, x, y, w, h, color);
  c.kind = Kind::Line;
  c.fill = QColor();
  return c;
}

Control label(int n, double x, double y, const char* caption) {
  Control c;
  c.number = n;
  c.kind = Kind::Text;
  c.x = x, c.y = y;
  c.text = caption;
  c.bold = true;
  return c;
}

Control value(int n, double x, double y, const char* field, const char* picture, std::function<QString()> v,
              Align align = Align::Left, double indent = 0) {
  Control c;
  c.number = n;
  c.kind = Kind::Value;
  c.x = x, c.y = y;
  c.field = field;
  c.picture = picture;
  c.value = std::move(v);
  c.align = align;
  c.indent = indent;
  return c;
}

// Decimal fields printed under a number picture.
template <std::size_t B>
std::function<QString()> number(const char* picture, const store::Decimal<B>& field) {
  return [picture, &field] { return fw::report::formatNumber(picture, field.get()); };
}
template <std::size_t N>
std::function<QString()> string(const char* picture, const store::String<N>& field) {
  return [picture, &field] { return fw::report::formatString(picture, text(field.view())); };
}

}  // namespace

fw::report::Layout PlanillaLayout(std::function<int()> count) {
  fw::report::Layout l;
  l.documentName = "Planilla";
  l.font = "Calibri";
  l.points = 10;
  l.detailArea = QRectF(4, 30, 290, 170);
  // The buffers of the thread that prints: KAL and KAM are per thread.
  const KAL_RECORD& kal = KAL;
  const KAM_RECORD& kam = KAM;

  auto& h = l.header;
  h = {"Encabezado", 4, 5, 290, 25, "Calibri", 8, {}};
  h.controls = {box(1, 206, 17, 17, 8, kLightGrey), box(2, 2, 17, 104, 8, kLightGrey), box(3, 2, 17, 283, 6, kLightGrey)};
  Control materia = value(4, 4, 2, "KAL:MATERIAS", "s60", string("s60", kal.MATERIAS));
  materia.w = 160, materia.h = 6, materia.points = 14, materia.bold = true;
  h.controls.push_back(materia);
  h.controls.push_back(label(5, 258, 19, "Estado"));
  auto big = [](Control c) {
    c.points = 12;
    c.bold = true;
    return c;
  };
  h.controls.push_back(big(value(6, 4, 10, "KAM:CICLO", "s11", string("s11", kam.CICLO))));
  h.controls.push_back(big(value(7, 31, 10, "KAM:CURSO", "n3", [&kam] {
    return fw::report::formatNumber("n3", store::Dec::fromUnits(kam.CURSO.get()));
  })));
  h.controls.push_back(big(value(8, 42, 10, "KAM:DIVISION", "s3", string("s3", kam.DIVISION))));
  h.controls.push_back(big(value(9, 52, 10, "KAM:TURNO", "s20", string("s20", kam.TURNO))));
  h.controls.push_back(line(10, 2, 17, 283, 0, kGrey));
  h.controls.push_back(label(11, 4, 19, "Alumno/a"));
  h.controls.push_back(line(12, 81, 17, 0, 8, kGrey));
  h.controls.push_back(label(13, 85, 19, "Legajo"));
  h.controls.push_back(line(14, 106, 17, 0, 8, kGrey));
  h.controls.push_back(label(15, 110, 19, "U.D. 1"));
  h.controls.push_back(line(16, 123, 17, 0, 8, kGrey));
  h.controls.push_back(label(17, 127, 19, "U.D. 2"));
  h.controls.push_back(line(18, 140, 17, 0, 8, kGrey));
  h.controls.push_back(label(19, 144, 19, "U.D. 3"));
  h.controls.push_back(line(20, 156, 17, 0, 8, kGrey));
  h.controls.push_back(label(21, 160, 19, "U.D. 4"));
  h.controls.push_back(line(22, 173, 17, 0, 8, kGrey));
  h.controls.push_back(label(23, 177, 19, "U.D. 5"));
  h.controls.push_back(line(24, 190, 17, 0, 8, kGrey));
  h.controls.push_back(label(25, 194, 19, "U.D. 6"));
  h.controls.push_back(line(26, 206, 17, 0, 8, kGrey));
  h.controls.push_back(line(27, 223, 17, 0, 8, kGrey));
  h.controls.push_back(line(28, 240, 17, 0, 8, kGrey));
  h.controls.push_back(line(29, 256, 17, 0, 8, kGrey));
  h.controls.push_back(label(30, 227, 19, "Anual"));
  h.controls.push_back(line(31, 285, 17, 0, 8, kGrey));
  h.controls.push_back(box(32, 2, 23, 283, 1, kGrey));
  h.controls.push_back(label(33, 208, 19, "P. Exacto"));
  h.controls.push_back(label(34, 244, 19, "Final"));
  h.controls.push_back(line(35, 2, 17, 0, 8, kGrey));

  auto& d = l.detail;
  d = {"Detalle", 4, 30, 290, 6, "Calibri", 8, {}};
  d.controls.push_back(value(36, 129, 1, "KAL:ETAPA22", "n2B", number("n2B", kal.ETAPA22), Align::Centre));
  d.controls.push_back(box(37, 206, 0, 17, 6, kLightGrey));
  d.controls.push_back(box(38, 2, 0, 104, 6, kLightGrey));
  d.controls.push_back(line(39, 285, 0, 0, 6, kGrey));
  Control alumno = value(40, 4, 1, "KAL:ALUMNO", "s40", string("s40", kal.ALUMNO));
  alumno.w = 67, alumno.h = 4, alumno.font = "Arial", alumno.points = 8, alumno.bold = true;
  d.controls.push_back(alumno);
  d.controls.push_back(line(41, 81, 0, 0, 6, kGrey));
  d.controls.push_back(line(42, 106, 0, 0, 6, kGrey));
  d.controls.push_back(value(43, 113, 1, "KAL:ETAPA21", "n2B", number("n2B", kal.ETAPA21), Align::Centre));
  d.controls.push_back(line(44, 140, 0, 0, 6, kOlive));
  d.controls.push_back(value(45, 146, 1, "KAL:ETAPA23", "n2B", number("n2B", kal.ETAPA23), Align::Centre));
  d.controls.push_back(line(46, 156, 0, 0, 6, kOlive));
  d.controls.push_back(value(47, 163, 1, "KAL:ETAPA24", "n2B", number("n2B", kal.ETAPA24), Align::Centre));
  d.controls.push_back(line(48, 173, 0, 0, 6, kOlive));
  d.controls.push_back(line(49, 190, 0, 0, 6, kGrey));
  d.controls.push_back(line(50, 206, 0, 0, 6, kGrey));
  d.controls.push_back(line(51, 223, 0, 0, 6, kGrey));
  d.controls.push_back(line(52, 256, 0, 0, 6, kGrey));
  d.controls.push_back(line(53, 240, 0, 0, 6, kGrey));
  d.controls.push_back(value(54, 244, 1, "KAL:FINAL", "n5.2B", number("n5.2B", kal.FINAL), Align::Right, 1));
  d.controls.push_back(line(55, 2, 6, 283, 0, kGrey));
  Control legajo = value(56, 83, 1, "KAL:NRO_LEGAJO", "n_14", [&kal] {
    return fw::report::formatNumber("n_14", store::Dec::fromUnits(kal.NRO_LEGAJO.get()));
  }, Align::Right, 1);
  legajo.bold = true;
  d.controls.push_back(legajo);
  d.controls.push_back(line(57, 123, 0, 0, 6, kOlive));
  d.controls.push_back(value(58, 179, 1, "KAL:ETAPA25", "n2B", number("n2B", kal.ETAPA25), Align::Centre));
  d.controls.push_back(value(59, 196, 1, "KAL:ETAPA26", "n2B", number("n2B", kal.ETAPA26), Align::Centre));
  d.controls.push_back(value(60, 210, 1, "KAL:ETAPA30", "N5.2B", number("N5.2B", kal.ETAPA30), Align::Right, 1));
  d.controls.push_back(
      value(61, 227, 1, "KAL:EVALUACION_ANUAL", "n5.2B", number("n5.2B", kal.EVALUACION_ANUAL), Align::Right, 1));
  d.controls.push_back(value(62, 258, 1, "KAL:ETADO", "s15", string("s15", kal.ETADO)));
  d.controls.push_back(line(63, 2, 0, 0, 6, kGrey));

  auto& f = l.footer;
  f = {"Pie", 4, 196, 290, 25, "", 0, {}};
  f.controls.push_back(box(64, 2, 0, 283, 1, kGrey));
  f.controls.push_back(label(65, 4, 2, "Alumns:"));
  Control total = value(66, 19, 2, "KAL:ALUMNO", "n5.", [count] {
    return fw::report::formatNumber("n5.", store::Dec::fromUnits(count()));
  });
  total.bold = true;
  f.controls.push_back(total);

  l.form = {"Formulario", 4, 4, 290, 200, "", 0, {}};
  return l;
}
