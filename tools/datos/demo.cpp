// The demo school: three teachers, six subjects and their grade books, with
// the cases worth seeing in the program (a teacher with several subjects, a
// name longer than the 20 characters a grade line keeps of it, a subject of
// exactly 29 students — one more than a printed page holds — a subject
// without students, marks on both sides of 6 and right at it).
#include <cstdio>
#include <filesystem>
#include <random>

#include "datos.h"
#include "dictionary/records.h"
#include "store/codepage.h"
#include "store/data_file.h"

namespace kamo::datos {
namespace {

namespace fs = std::filesystem;

std::string ansi(const char* utf8) {
  std::string out;
  (void)store::cp::utf8ToAnsi(utf8, out);  // every text below is storable
  return out;
}

struct Teacher {
  std::int32_t code;
  std::int32_t dni;
  const char* name;
  int day, month, year;
};

struct Subject {
  std::int32_t nro;
  const Teacher* teacher;
  const char* name;
  const char* ciclo;
  std::int16_t curso;
  const char* division;
  const char* especialidad;
  const char* turno;
  std::int32_t codCurso;
  int students;        // how many grade lines
  int firstStudent;    // index into the course's students
  const char* objetivo;
};

const Teacher kTeachers[] = {
    {1, 20123456, "Gómez, María Inés", 15, 3, 1975},
    {2, 25987654, "Fernández de la Peña, José Ignacio", 2, 11, 1980},
    {3, 30555111, "Núñez, Sofía", 29, 2, 1984},
};

const Subject kSubjects[] = {
    {101, &kTeachers[0], "Historia", "Ciclo Básico", 3, "A", "Bachiller en Ciencias Sociales", "Mañana", 31, 26, 0,
     "Comprender los procesos de la Revolución de Mayo y la organización nacional."},
    {102, &kTeachers[0], "Geografía", "Ciclo Básico", 3, "A", "Bachiller en Ciencias Sociales", "Mañana", 31, 26, 0,
     "Reconocer las regiones geográficas de la Argentina."},
    {201, &kTeachers[1], "Matemática", "Ciclo Orientado", 5, "B", "Bachiller en Ciencias Naturales", "Tarde", 52, 29,
     26, "Resolver problemas con funciones y ecuaciones."},
    {202, &kTeachers[1], "Física", "Ciclo Orientado", 5, "B", "Bachiller en Ciencias Naturales", "Tarde", 52, 0, 0,
     "Describir el movimiento y sus causas."},
    {301, &kTeachers[2], "Lengua y Literatura", "Ciclo Orientado", 4, "A", "Bachiller en Comunicación", "Mañana", 41,
     24, 55, "Leer y escribir textos argumentativos; ¿qué es un ensayo?"},
    {302, &kTeachers[2], "Inglés", "Ciclo Orientado", 4, "A", "Bachiller en Comunicación", "Mañana", 41, 18, 55,
     "Comunicarse por escrito en situaciones cotidianas."},
};

const char* const kSurnames[] = {"Acuña",  "Benítez", "Castro",   "Díaz",     "Echeverría", "Fernández", "García",
                                 "Gómez",  "Ibáñez",  "Juárez",   "López",    "Martínez",   "Muñoz",     "Núñez",
                                 "Ortiz",  "Peña",    "Quiroga",  "Ramírez",  "Sánchez",    "Suárez",    "Toledo",
                                 "Urquiza", "Valdés", "Zárate",   "Álvarez",  "Ñañez"};
const char* const kGirls[] = {"María José", "Lucía", "Sofía", "Valentina", "Martina", "Agustina", "Inés", "Belén"};
const char* const kBoys[] = {"José", "Martín", "Tomás", "Joaquín", "Nicolás", "Iñaki", "Julián", "Ramón"};

store::Dec cents(std::int64_t c) { return store::Dec::fromCents(c); }

}  // namespace

bool createDemoSchool(const std::string& dir, std::ostream& out, std::string& error) {
  std::error_code ec;
  fs::create_directories(dir, ec);
  if (ec) {
    error = "no se puede crear la carpeta " + dir + ": " + ec.message();
    return false;
  }
  for (const store::FileDesc* f : {&KAMATERIAS, &KAAPRENDE, &KALIBRETA})
    if (fs::exists(fs::symlink_status(fs::path(dir) / f->diskName))) {
      error = std::string(f->diskName) + " ya existe en " + dir + "; la demostración necesita una carpeta sin datos";
      return false;
    }

  const std::string subjectsPath = (fs::path(dir) / KAMATERIAS.diskName).string();
  const std::string gradesPath = (fs::path(dir) / KALIBRETA.diskName).string();
  store::DataFile subjects(KAMATERIAS, subjectsPath);
  store::DataFile grades(KALIBRETA, gradesPath);
  KAM_RECORD kam;
  KAL_RECORD kal;
  subjects.bind(kam.image(), kam.memo());
  grades.bind(kal.image());
  // A demo that cannot be finished leaves no data files behind.
  bool finished = false;
  struct Cleanup {
    bool& finished;
    store::DataFile& subjects;
    store::DataFile& grades;
    ~Cleanup() {
      if (finished) return;
      subjects.close();
      grades.close();
      std::error_code ignored;
      for (const std::string& p : {subjects.path(), grades.path()})
        for (const char* suffix : {"", "-wal", "-shm"}) fs::remove(p + suffix, ignored);
    }
  } cleanup{finished, subjects, grades};
  auto check = [&](const store::Status& s, const char* what) {
    if (!s.ok()) error = std::string(what) + ": " + s.describe();
    return s.ok();
  };
  if (!check(subjects.create(), "KAMaterias.TPS") || !check(grades.create(), "KALIBRETA.TPS") ||
      !check(subjects.open(), "KAMaterias.TPS") || !check(grades.open(), "KALIBRETA.TPS") ||
      !check(grades.begin(10), "KALIBRETA.TPS"))
    return false;

  std::mt19937 rng(1816);
  std::int16_t orden = 0;
  for (const Subject& s : kSubjects) {
    kam.clear();
    kam.NRO_REGISTRO = s.nro;
    kam.NRO_ORDEN = ++orden;
    kam.MATERIA = ansi(s.name);
    kam.TIPO = "Anual";
    kam.TIPO_LENGUAJE = ansi("Español");
    kam.COD_PROFESOR = s.teacher->code;
    kam.PROFESOR = ansi(s.teacher->name);
    kam.COD_CURSO = s.codCurso;
    (void)kam.HORAS.set(cents(400));
    kam.SINPROMEDIO = "NO";
    kam.PROMEDIOGRAL = "SI";
    kam.CICLO = ansi(s.ciclo);
    kam.CURSO = s.curso;
    kam.DIVISION = s.division;
    kam.ESPECIALIDAD = ansi(s.especialidad);
    kam.TURNO = ansi(s.turno);
    kam.MAIL_PEN_DRIVE = "secretaria@escuela.edu.ar";
    kam.DNI_DOCENTE = s.teacher->dni;
    kam.KAP_FECHANAC.set(s.teacher->day, s.teacher->month, s.teacher->year);
    kam.OBJETIVO = ansi(s.objetivo);
    if (!check(subjects.add(), "KAMaterias.TPS")) return false;
  }

  // Students: one list per course, shared by the course's subjects.
  std::int32_t nro = 0;
  for (const Subject& s : kSubjects) {
    std::mt19937 names(static_cast<unsigned>(s.firstStudent + 7));  // same course, same students
    for (int i = 0; i < s.students; ++i) {
      const bool girl = names() % 2 == 0;
      const std::string alumno = std::string(kSurnames[names() % std::size(kSurnames)]) + ", " +
                                 (girl ? kGirls[names() % std::size(kGirls)] : kBoys[names() % std::size(kBoys)]);
      kal.clear();
      kal.NRO_REGISTRO = ++nro;
      kal.NRO_LEGAJO = 4000 + s.firstStudent + i;
      kal.NRO_ORDEN = static_cast<std::int16_t>(i + 1);
      kal.SEXO = girl ? "F" : "M";
      kal.ALUMNO = ansi(alumno.c_str());
      kal.COD_MATERIA = s.nro;
      kal.MATERIAS = ansi(s.name);
      kal.COD_CURSO = s.codCurso;
      // Stage marks around the student's level, whole or half points.
      const int level = 3 + static_cast<int>(rng() % 8);  // 3 .. 10
      std::int64_t sum = 0;
      for (auto* e : {&kal.ETAPA21, &kal.ETAPA22, &kal.ETAPA23, &kal.ETAPA24, &kal.ETAPA25, &kal.ETAPA26}) {
        std::int64_t m = level * 100 + static_cast<std::int64_t>(rng() % 3) * 50 - 50;
        m = m < 100 ? 100 : (m > 1000 ? 1000 : m);
        sum += m;
        (void)e->set(cents(m));
      }
      (void)kal.ETAPA30.set(cents(sum / 6));
      // The annual mark in quarter points, near the stages' average.
      std::int64_t anual = (sum / 6) / 25 * 25 + static_cast<std::int64_t>(rng() % 5) * 25 - 50;
      anual = anual < 100 ? 100 : (anual > 1000 ? 1000 : anual);
      if (s.nro == 201 && i == 0) anual = 599;  // right under the pass mark
      if (s.nro == 201 && i == 1) anual = 600;  // right at it
      (void)kal.EVALUACION_ANUAL.set(cents(anual));
      const bool passes = anual >= 600;
      (void)kal.FINAL.set(cents(passes ? anual : 0));
      kal.ETADO = passes ? "APRUEBA" : "COLOQUIO";
      kal.FECHA_OPERACION.set(1, 12, 2026);
      kal.TOTALFALTAS = static_cast<std::int32_t>(rng() % 12);
      kal.ASISTENCIAS = 160 - kal.TOTALFALTAS;
      kal.PORCENTAJE = (kal.ASISTENCIAS * 100) / 160;
      if (!check(grades.add(), "KALIBRETA.TPS")) return false;
    }
  }
  if (!check(grades.commit(), "KALIBRETA.TPS")) return false;
  subjects.close();
  grades.close();
  finished = true;

  out << "Escuela de demostración creada en " << dir << ".\n\nDocentes (D.N.I. y fecha de nacimiento para ingresar):\n";
  for (const Teacher& t : kTeachers) {
    char date[16];
    std::snprintf(date, sizeof date, "%02d/%02d/%04d", t.day, t.month, t.year);
    out << "  " << t.dni << "  " << date << "  " << t.name << ":";
    const char* sep = " ";
    for (const Subject& s : kSubjects)
      if (s.teacher == &t) {
        out << sep << s.name << " (" << s.students << " alumnos)";
        sep = ", ";
      }
    out << "\n";
  }
  return true;
}

}  // namespace kamo::datos
