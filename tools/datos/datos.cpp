#include "datos.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

#include "csv.h"
#include "dictionary/records.h"
#include "store/codepage.h"
#include "store/data_file.h"

namespace kamo::datos {
namespace {

namespace fs = std::filesystem;

const store::FileDesc* const kFiles[] = {&KAMATERIAS, &KAAPRENDE, &KALIBRETA};

constexpr const char* kGeneralHelp = R"(kamo-datos: carga, exporta, verifica y repara los archivos de datos de KAMO.

Uso: kamo-datos VERBO [opciones]

Verbos:
  importar     agrega los registros de un CSV a un archivo de datos
  exportar     escribe los registros de un archivo de datos como CSV
  verificar    revisa los archivos de datos de una carpeta
  reconstruir  reconstruye las claves de los archivos de datos de una carpeta
  demo         crea una escuela de demostración en una carpeta
  planilla     escribe la planilla de una materia como PDF

Archivos (ARCHIVO): KAMATERIAS (KAMaterias.TPS), KAAPRENDE (KAAPRENDE.TPS),
KALIBRETA (KALIBRETA.TPS). La carpeta de datos es la actual salvo --dir CARPETA.

Más ayuda: kamo-datos VERBO --help
)";

const std::map<std::string, std::string> kVerbHelp = {
    {"importar", R"(Uso: kamo-datos importar CSV ARCHIVO [--dir CARPETA]

Agrega los registros del CSV al archivo de datos (lo crea si falta). La primera
fila nombra los campos con sus etiquetas (KAL:NRO_REGISTRO, KAL:ALUMNO, ...; el
memo con la suya, KAM:OBJETIVO); una columna que falta deja su campo vacío.
Valores: enteros en decimal; decimales con punto y dos decimales (-5.50, 0.00);
fechas DD/MM/AAAA (vacía: sin fecha); textos sin los espacios del final. CSV en
UTF-8, separado por comas, con comillas como en RFC 4180.

Todo o nada: ante cualquier error (columna desconocida, valor que no cabe,
carácter que el archivo no puede guardar, CSV mal formado, clave repetida) no se
agrega nada, el archivo queda como estaba y el mensaje nombra la línea y la
columna (o la clave).

Ejemplo:
  kamo-datos importar alumnos.csv KALIBRETA --dir /srv/escuela
)"},
    {"exportar", R"(Uso: kamo-datos exportar ARCHIVO [--clave CLAVE] [--campos ETIQUETA,...] [--dir CARPETA]

Escribe los registros como CSV en la salida estándar: en el orden físico, o en
el de la clave nombrada por su etiqueta (los registros que la clave deja fuera
no se listan). Sin --campos, todos los campos en el orden del registro y luego
el memo.

Ejemplos:
  kamo-datos exportar KALIBRETA --clave KAL:CLAVE_CODMATERIA_ALUALFA > libreta.csv
  kamo-datos exportar KAMATERIAS --campos KAM:DNI_DOCENTE,KAM:PROFESOR,KAM:MATERIA
)"},
    {"verificar", R"(Uso: kamo-datos verificar [--dir CARPETA]

Revisa cada archivo de datos presente en la carpeta: el contenedor, cada
registro y cada clave contra los registros. Dice lo que encontró y termina con
estado 0 solo si todo está en orden. No modifica nada.

Ejemplo:
  kamo-datos verificar --dir /srv/escuela
)"},
    {"reconstruir", R"(Uso: kamo-datos reconstruir [--dir CARPETA]

Reconstruye todas las claves de cada archivo de datos presente en la carpeta a
partir de sus registros. Un archivo que no es de KAMO no se toca.

Ejemplo:
  kamo-datos reconstruir --dir /srv/escuela
)"},
    {"planilla", R"(Uso: kamo-datos planilla NRO_REGISTRO --pdf SALIDA.pdf [--dir CARPETA]

Escribe como PDF la planilla (informe de progreso) de la materia cuyo
KAM:NRO_REGISTRO se indica: los datos del curso en el encabezado y una línea por
alumno, en orden alfabético. No abre ninguna ventana.

Ejemplo:
  kamo-datos planilla 201 --pdf matematica.pdf --dir /srv/escuela
)"},
    {"demo", R"(Uso: kamo-datos demo CARPETA

Crea en CARPETA una escuela de demostración (docentes, materias y libretas con
notas) y muestra el D.N.I. y la fecha de nacimiento con que ingresa cada
docente. Se niega si en la carpeta ya hay algún archivo de datos.

Ejemplo:
  kamo-datos demo demo
)"},
};

struct Options {
  std::vector<std::string> positional;
  std::string dir = ".";
  std::string clave;
  std::string campos;
  bool hasClave = false;
  bool hasCampos = false;
  std::string pdf;
  bool hasPdf = false;
  bool help = false;
};

// Parses the words after the verb. `allowed` lists the options the verb takes.
bool parseOptions(const std::vector<std::string>& args, const std::set<std::string>& allowed, Options& o,
                  std::string& error) {
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      o.help = true;
    } else if (a.rfind("--", 0) == 0) {
      if (!allowed.count(a)) {
        error = "opción desconocida: " + a;
        return false;
      }
      if (i + 1 >= args.size()) {
        error = "falta el valor de " + a;
        return false;
      }
      const std::string& v = args[++i];
      if (a == "--dir") o.dir = v;
      if (a == "--clave") o.clave = v, o.hasClave = true;
      if (a == "--campos") o.campos = v, o.hasCampos = true;
      if (a == "--pdf") o.pdf = v, o.hasPdf = true;
    } else {
      o.positional.push_back(a);
    }
  }
  return true;
}

const store::FileDesc* fileByLabel(const std::string& label) {
  for (const store::FileDesc* f : kFiles)
    if (f->label == label) return f;
  return nullptr;
}

std::string pathOf(const std::string& dir, const store::FileDesc& f) { return (fs::path(dir) / f.diskName).string(); }

// A store result as the administrative staff should read it.
std::string explain(const store::Status& s) {
  switch (s.code()) {
    case store::kFileNotFound: return "no existe";
    case store::kAccessDenied: return "acceso denegado" + (s.detail().empty() ? "" : " (" + s.detail() + ")");
    case store::kNotADataFile: return "no es un archivo de datos de KAMO; no se modificó";
    case store::kFileDamaged: return "está dañado (" + s.detail() + "); no se modificó";
    case store::kWrongFile: return s.detail() + "; no se modificó";
    case store::kKeysMustBeRebuilt: return "las claves deben reconstruirse (kamo-datos reconstruir)";
    case store::kDuplicateKey: return "el valor repite la clave " + s.detail();
    case store::kTextNotStorable:
    case store::kInvalidValue:
    case store::kDecimalOverflow: return s.detail();
    default: return s.describe();
  }
}

void removeDataFile(const std::string& path) {
  std::error_code ec;
  for (const char* suffix : {"", "-wal", "-shm"}) fs::remove(path + suffix, ec);
}

int fail(std::ostream& err, const std::string& message) {
  err << "kamo-datos: " << message << "\n";
  return 1;
}

int usage(std::ostream& err, const std::string& verb, const std::string& message) {
  err << "kamo-datos: " << message << "\n" << "Ayuda: kamo-datos " << verb << " --help\n";
  return 2;
}

// A column of a CSV or of an export: a field, or the memo (field == -1).
struct Column {
  std::string label;
  int field;
};

bool columnOf(const store::FileDesc& f, const std::string& label, Column& c) {
  if (f.hasMemo() && label == f.memo.label) {
    c = {label, -1};
    return true;
  }
  const int i = f.findField(label);
  if (i < 0) return false;
  c = {label, i};
  return true;
}

// --- importar --------------------------------------------------------------------

int importar(const Options& o, std::ostream& out, std::ostream& err) {
  if (o.positional.size() != 2) return usage(err, "importar", "se esperan CSV y ARCHIVO");
  const store::FileDesc* desc = fileByLabel(o.positional[1]);
  if (!desc) return usage(err, "importar", "archivo desconocido: " + o.positional[1]);
  std::ifstream in(o.positional[0], std::ios::binary);
  if (!in) return fail(err, "no se puede leer " + o.positional[0]);
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::vector<CsvRecord> rows;
  std::string error;
  if (!parseCsv(text, rows, error)) return fail(err, o.positional[0] + ": " + error + "; no se agregó nada");
  if (rows.empty()) return fail(err, o.positional[0] + ": falta la fila de encabezados; no se agregó nada");

  std::vector<Column> columns;
  std::set<std::string> seen;
  for (const std::string& label : rows[0].fields) {
    Column c;
    if (!columnOf(*desc, label, c))
      return fail(err, "línea 1, columna «" + label + "»: no es un campo de " + std::string(desc->label) +
                           "; no se agregó nada");
    if (!seen.insert(label).second)
      return fail(err, "línea 1, columna «" + label + "»: aparece dos veces; no se agregó nada");
    columns.push_back(c);
  }

  const std::string path = pathOf(o.dir, *desc);
  store::DataFile file(*desc, path);
  bool created = false;
  if (!fs::exists(fs::symlink_status(path))) {
    if (store::Status s = file.create(); !s.ok())
      return fail(err, std::string(desc->diskName) + ": no se pudo crear: " + explain(s));
    created = true;
  }
  auto abandon = [&](const std::string& message) {
    if (file.inTransaction()) (void)file.rollback();
    file.close();
    if (created) removeDataFile(path);
    return fail(err, message + "; no se agregó nada");
  };
  if (store::Status s = file.open(store::kSharedReadWrite); !s.ok())
    return abandon(std::string(desc->diskName) + ": " + explain(s));
  if (store::Status s = file.begin(10); !s.ok())
    return abandon(std::string(desc->diskName) + ": " + explain(s));

  std::string ansi;
  for (std::size_t r = 1; r < rows.size(); ++r) {
    const CsvRecord& row = rows[r];
    const std::string where = "línea " + std::to_string(row.line);
    if (row.fields.size() != columns.size())
      return abandon(where + ": tiene " + std::to_string(row.fields.size()) + " campos y el encabezado " +
                     std::to_string(columns.size()));
    file.clearBuffer();
    for (std::size_t c = 0; c < columns.size(); ++c) {
      const std::string at = where + ", columna «" + columns[c].label + "»: ";
      if (store::Status s = store::cp::utf8ToAnsi(row.fields[c], ansi); !s.ok()) return abandon(at + explain(s));
      if (columns[c].field < 0) {
        if (ansi.size() > desc->memo.size)
          return abandon(at + "el texto tiene " + std::to_string(ansi.size()) + " caracteres y el memo admite " +
                         std::to_string(desc->memo.size));
        std::copy(ansi.begin(), ansi.end(), file.memo());
      } else if (store::Status s = store::fieldFromText(desc->fields[columns[c].field], ansi, file.record());
                 !s.ok()) {
        return abandon(at + explain(s));
      }
    }
    if (store::Status s = file.add(); !s.ok()) return abandon(where + ": " + explain(s));
  }
  if (store::Status s = file.commit(); !s.ok()) return abandon(std::string(desc->diskName) + ": " + explain(s));
  file.close();
  out << rows.size() - 1 << " registros agregados a " << desc->diskName << "\n";
  return 0;
}

// --- exportar ----------------------------------------------------------------------

int exportar(const Options& o, std::ostream& out, std::ostream& err) {
  if (o.positional.size() != 1) return usage(err, "exportar", "se espera ARCHIVO");
  const store::FileDesc* desc = fileByLabel(o.positional[0]);
  if (!desc) return usage(err, "exportar", "archivo desconocido: " + o.positional[0]);
  int key = -1;
  if (o.hasClave) {
    key = desc->findKey(o.clave);
    if (key < 0) return usage(err, "exportar", "«" + o.clave + "» no es una clave de " + std::string(desc->label));
  }
  std::vector<Column> columns;
  if (o.hasCampos) {
    std::stringstream list(o.campos);
    std::string label;
    while (std::getline(list, label, ',')) {
      Column c;
      if (!columnOf(*desc, label, c))
        return usage(err, "exportar", "«" + label + "» no es un campo de " + std::string(desc->label));
      columns.push_back(c);
    }
    if (columns.empty()) return usage(err, "exportar", "--campos no nombra ningún campo");
  } else {
    for (std::size_t i = 0; i < desc->fields.size(); ++i)
      columns.push_back({std::string(desc->fields[i].label), static_cast<int>(i)});
    if (desc->hasMemo()) columns.push_back({std::string(desc->memo.label), -1});
  }

  const std::string path = pathOf(o.dir, *desc);
  if (!fs::exists(fs::symlink_status(path))) return fail(err, std::string(desc->diskName) + ": no existe");
  store::DataFile file(*desc, path);
  if (store::Status s = file.open(store::kSharedReadOnly); !s.ok())
    return fail(err, std::string(desc->diskName) + ": " + explain(s));
  (void)file.send("QUICKSCAN=on");
  if (store::Status s = key < 0 ? file.setPhysical() : file.setKey(key); !s.ok())
    return fail(err, std::string(desc->diskName) + ": " + explain(s));

  std::string text;
  std::vector<std::string> values;
  for (const Column& c : columns) values.push_back(c.label);
  writeCsvRecord(values, text);
  store::Status s;
  while ((s = file.next()).ok()) {
    for (std::size_t c = 0; c < columns.size(); ++c) {
      if (columns[c].field < 0) {
        std::string_view memo(file.memo(), desc->memo.size);
        while (!memo.empty() && memo.back() == ' ') memo.remove_suffix(1);
        values[c] = store::cp::ansiToUtf8(memo);
      } else {
        values[c] = store::cp::ansiToUtf8(store::fieldToText(desc->fields[columns[c].field], file.record()));
      }
    }
    writeCsvRecord(values, text);
    if (text.size() > (1 << 16)) {
      out << text;
      text.clear();
    }
  }
  out << text;
  if (s.code() != store::kRecordNotAvailable) return fail(err, std::string(desc->diskName) + ": " + explain(s));
  return 0;
}

// --- verificar y reconstruir ----------------------------------------------------------

std::vector<const store::FileDesc*> presentFiles(const std::string& dir) {
  std::vector<const store::FileDesc*> present;
  for (const store::FileDesc* f : kFiles)
    if (fs::exists(fs::symlink_status(pathOf(dir, *f)))) present.push_back(f);
  return present;
}

int verificar(const Options& o, std::ostream& out, std::ostream&) {
  const auto present = presentFiles(o.dir);
  if (present.empty()) {
    out << "No hay archivos de datos de KAMO en " << o.dir << ".\n";
    return 0;
  }
  bool sound = true;
  for (const store::FileDesc* desc : present) {
    store::DataFile file(*desc, pathOf(o.dir, *desc));
    if (store::Status s = file.open(store::kSharedReadOnly); !s.ok()) {
      out << desc->diskName << ": " << explain(s) << "\n";
      sound = false;
      continue;
    }
    std::vector<std::string> problems;
    std::int64_t count = 0;
    store::Status s = file.verify(problems);
    if (s.ok()) s = file.recordCount(count);
    if (!s.ok()) {
      out << desc->diskName << ": " << explain(s) << "\n";
      sound = false;
      continue;
    }
    if (problems.empty()) {
      out << desc->diskName << ": " << count << " registros, todo en orden\n";
    } else {
      sound = false;
      out << desc->diskName << ": " << count << " registros, " << problems.size() << " problemas:\n";
      for (const std::string& p : problems) out << "  " << p << "\n";
    }
  }
  return sound ? 0 : 1;
}

int reconstruir(const Options& o, std::ostream& out, std::ostream& err) {
  const auto present = presentFiles(o.dir);
  if (present.empty()) {
    out << "No hay archivos de datos de KAMO en " << o.dir << ".\n";
    return 0;
  }
  bool done = true;
  for (const store::FileDesc* desc : present) {
    store::DataFile file(*desc, pathOf(o.dir, *desc));
    if (store::Status s = file.rebuildKeys(); !s.ok()) {
      err << "kamo-datos: " << desc->diskName << ": " << explain(s) << "\n";
      done = false;
      continue;
    }
    out << desc->diskName << ": claves reconstruidas\n";
  }
  return done ? 0 : 1;
}

int planilla(const Options& o, std::ostream& out, std::ostream& err) {
  if (o.positional.size() != 1 || !o.hasPdf) return usage(err, "planilla", "se esperan NRO_REGISTRO y --pdf SALIDA.pdf");
  std::int32_t nro = 0;
  {
    const std::string& t = o.positional[0];
    auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), nro);
    if (ec != std::errc() || ptr != t.data() + t.size())
      return usage(err, "planilla", "«" + t + "» no es un número de materia");
  }
  std::string message;
  const int pages = writePlanillaPdf(o.dir, nro, o.pdf, message);
  if (pages < 0) return fail(err, message);
  out << message << "\n";
  return 0;
}

int demo(const Options& o, std::ostream& out, std::ostream& err) {
  if (o.positional.size() != 1) return usage(err, "demo", "se espera CARPETA");
  std::string error;
  if (!createDemoSchool(o.positional[0], out, error)) return fail(err, error);
  return 0;
}

}  // namespace

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "ayuda") {
    (args.empty() ? err : out) << kGeneralHelp;
    return args.empty() ? 2 : 0;
  }
  const std::string& verb = args[0];
  static const std::map<std::string, std::set<std::string>> kOptions = {
      {"importar", {"--dir"}},   {"exportar", {"--dir", "--clave", "--campos"}},
      {"verificar", {"--dir"}},  {"reconstruir", {"--dir"}},
      {"demo", {}},
      {"planilla", {"--dir", "--pdf"}},
  };
  const auto allowed = kOptions.find(verb);
  if (allowed == kOptions.end()) {
    err << "kamo-datos: verbo desconocido: " << verb << "\n\n" << kGeneralHelp;
    return 2;
  }
  Options o;
  std::string error;
  if (!parseOptions(args, allowed->second, o, error)) return usage(err, verb, error);
  if (o.help) {
    out << kVerbHelp.at(verb);
    return 0;
  }
  if ((verb == "verificar" || verb == "reconstruir") && !o.positional.empty())
    return usage(err, verb, "argumento de más: " + o.positional[0]);
  if (verb == "importar") return importar(o, out, err);
  if (verb == "exportar") return exportar(o, out, err);
  if (verb == "verificar") return verificar(o, out, err);
  if (verb == "reconstruir") return reconstruir(o, out, err);
  if (verb == "planilla") return planilla(o, out, err);
  return demo(o, out, err);
}

}  // namespace kamo::datos
