// The record layouts of KAMO's three data files, byte for byte, and the
// per-thread record buffers.
//
// Names: a label "P:NAME" of a field or key is written P.NAME in C++, where P
// is the thread's record buffer of the file with prefix P (KAM, KAAP, KAL):
// KAL:EVALUACION_ANUAL is KAL.EVALUACION_ANUAL, key KAL:CLAVE_PRIMARIA is
// KAL.CLAVE_PRIMARIA (the key's number in the file's declaration), the memo
// KAM:OBJETIVO is KAM.OBJETIVO, and the buffer KAM:RECORD is KAM itself (its
// first kRecordBytes bytes are the record image; a memo follows the image).
#pragma once

#include <cstddef>

#include "store/field_types.h"
#include "store/layout.h"

// KAM:RECORD, the record of KAMATERIAS ("KAMaterias.TPS"): 523 bytes.
//
//   offset  bytes  field
//        0      4  NRO_REGISTRO                 LONG
//        4      2  NRO_ORDEN                    SHORT
//        6     60  MATERIA                      STRING(60)
//       66     50  BILINGUE_MATERIA             STRING(50)
//      116     10  TIPO                         STRING(10)
//      126     10  TIPO_LENGUAJE                STRING(10)
//      136      4  COD_PROFESOR                 LONG
//      140     50  PROFESOR                     STRING(50)
//      190      4  COD_CURSO                    LONG
//      194     20  SEXO                         STRING(20)
//      214      3  HORAS                        DECIMAL(5,2)
//      217      4  SINPROMEDIO                  STRING(4)
//      221      4  PROMEDIOGRAL                 STRING(4)
//      225      4  VINCULANTE                   STRING(4)
//      229      2  CONTENIDOSACTITUDINALES      STRING(2)
//      231      2  INTEGRADORA                  STRING(2)
//      233    120  MATERIASCORRELATIVAS         STRING(120)
//      353      4  PROMEDIAEN                   LONG
//      357      2  CANTIDADMATEPROM             SHORT
//      359     30  CICLO                        STRING(30)
//      389      2  CURSO                        SHORT
//      391      4  DIVISION                     STRING(4)
//      395     40  ESPECIALIDAD                 STRING(40)
//      435     20  TURNO                        STRING(20)
//      455     60  MAIL_PEN_DRIVE               STRING(60)
//      515      4  DNI_DOCENTE                  LONG
//      519      4  KAP_FECHANAC                 DATE
//      523   4000  OBJETIVO                     memo (outside the record image)
struct KAM_RECORD {
  store::Long NRO_REGISTRO;
  store::Short NRO_ORDEN;
  store::String<60> MATERIA;
  store::String<50> BILINGUE_MATERIA;
  store::String<10> TIPO;
  store::String<10> TIPO_LENGUAJE;
  store::Long COD_PROFESOR;
  store::String<50> PROFESOR;
  store::Long COD_CURSO;
  store::String<20> SEXO;
  store::Decimal<3> HORAS;
  store::String<4> SINPROMEDIO;
  store::String<4> PROMEDIOGRAL;
  store::String<4> VINCULANTE;
  store::String<2> CONTENIDOSACTITUDINALES;
  store::String<2> INTEGRADORA;
  store::String<120> MATERIASCORRELATIVAS;
  store::Long PROMEDIAEN;
  store::Short CANTIDADMATEPROM;
  store::String<30> CICLO;
  store::Short CURSO;
  store::String<4> DIVISION;
  store::String<40> ESPECIALIDAD;
  store::String<20> TURNO;
  store::String<60> MAIL_PEN_DRIVE;
  store::Long DNI_DOCENTE;
  store::Date KAP_FECHANAC;
  store::String<4000> OBJETIVO;  // the memo; not part of the record image

  static constexpr std::size_t kRecordBytes = 523;
  static constexpr int CLAVE_PRINCIPAL = 0;  // key KAM:CLAVE_PRINCIPAL
  static constexpr int CLAVE_CURSO = 1;  // key KAM:CLAVE_CURSO
  static constexpr int CLAVE_PROFESOR = 2;  // key KAM:CLAVE_PROFESOR
  static constexpr int CLAVE_ALFA = 3;  // key KAM:CLAVE_ALFA
  static constexpr int CLAVE_PROFESOR_CURSO = 4;  // key KAM:CLAVE_PROFESOR_CURSO
  static constexpr int CLAVE_MATERIA_SEXO = 5;  // key KAM:CLAVE_MATERIA_SEXO
  static constexpr int CLAVE_CURSO_ORDEN_CODIGO = 6;  // key KAM:CLAVE_CURSO_ORDEN_CODIGO
  static constexpr int CLAVE_PROMEDIA = 7;  // key KAM:CLAVE_PROMEDIA
  static constexpr int CLAVE_CURSO_MATERIA = 8;  // key KAM:CLAVE_CURSO_MATERIA
  static constexpr int CLAVE_CODMATERIA_CODPROFESOR = 9;  // key KAM:CLAVE_CODMATERIA_CODPROFESOR
  static constexpr int CLAVE_DNI_PROFESOR = 10;  // key KAM:CLAVE_DNI_PROFESOR

  KAM_RECORD() { clear(); }
  void clear();  // strings and memo to spaces, numbers and dates to zero
  unsigned char* image() { return reinterpret_cast<unsigned char*>(this); }
  const unsigned char* image() const { return reinterpret_cast<const unsigned char*>(this); }
  char* memo() { return OBJETIVO.c; }
};

static_assert(offsetof(KAM_RECORD, NRO_REGISTRO) == 0);
static_assert(offsetof(KAM_RECORD, NRO_ORDEN) == 4);
static_assert(offsetof(KAM_RECORD, MATERIA) == 6);
static_assert(offsetof(KAM_RECORD, BILINGUE_MATERIA) == 66);
static_assert(offsetof(KAM_RECORD, TIPO) == 116);
static_assert(offsetof(KAM_RECORD, TIPO_LENGUAJE) == 126);
static_assert(offsetof(KAM_RECORD, COD_PROFESOR) == 136);
static_assert(offsetof(KAM_RECORD, PROFESOR) == 140);
static_assert(offsetof(KAM_RECORD, COD_CURSO) == 190);
static_assert(offsetof(KAM_RECORD, SEXO) == 194);
static_assert(offsetof(KAM_RECORD, HORAS) == 214);
static_assert(offsetof(KAM_RECORD, SINPROMEDIO) == 217);
static_assert(offsetof(KAM_RECORD, PROMEDIOGRAL) == 221);
static_assert(offsetof(KAM_RECORD, VINCULANTE) == 225);
static_assert(offsetof(KAM_RECORD, CONTENIDOSACTITUDINALES) == 229);
static_assert(offsetof(KAM_RECORD, INTEGRADORA) == 231);
static_assert(offsetof(KAM_RECORD, MATERIASCORRELATIVAS) == 233);
static_assert(offsetof(KAM_RECORD, PROMEDIAEN) == 353);
static_assert(offsetof(KAM_RECORD, CANTIDADMATEPROM) == 357);
static_assert(offsetof(KAM_RECORD, CICLO) == 359);
static_assert(offsetof(KAM_RECORD, CURSO) == 389);
static_assert(offsetof(KAM_RECORD, DIVISION) == 391);
static_assert(offsetof(KAM_RECORD, ESPECIALIDAD) == 395);
static_assert(offsetof(KAM_RECORD, TURNO) == 435);
static_assert(offsetof(KAM_RECORD, MAIL_PEN_DRIVE) == 455);
static_assert(offsetof(KAM_RECORD, DNI_DOCENTE) == 515);
static_assert(offsetof(KAM_RECORD, KAP_FECHANAC) == 519);
static_assert(offsetof(KAM_RECORD, OBJETIVO) == 523);
static_assert(sizeof(KAM_RECORD) == 4523);

// KAAP:RECORD, the record of KAAPRENDE ("KAAPRENDE.TPS"): 393 bytes.
//
//   offset  bytes  field
//        0      4  NRO_REGISTRO                 LONG
//        4      4  COD_MATERIA                  LONG
//        8      4  COD_CURSO                    LONG
//       12      4  COD_DOCENTE                  LONG
//       16      2  NRO_ORDEN                    SHORT
//       18     60  MATERIAS                     STRING(60)
//       78     60  DOCENTE                      STRING(60)
//      138    255  CONTENIDO_PRIORIZADO         STRING(255)
//      393   1000  APRENDIZAJE_TRABAJO          memo (outside the record image)
struct KAAP_RECORD {
  store::Long NRO_REGISTRO;
  store::Long COD_MATERIA;
  store::Long COD_CURSO;
  store::Long COD_DOCENTE;
  store::Short NRO_ORDEN;
  store::String<60> MATERIAS;
  store::String<60> DOCENTE;
  store::String<255> CONTENIDO_PRIORIZADO;
  store::String<1000> APRENDIZAJE_TRABAJO;  // the memo; not part of the record image

  static constexpr std::size_t kRecordBytes = 393;
  static constexpr int CLAVE_PRIMARIA = 0;  // key KAAP:CLAVE_PRIMARIA
  static constexpr int CLAVE_LEGAJO_ORDEN_MATERIA = 1;  // key KAAP:CLAVE_LEGAJO_ORDEN_MATERIA
  static constexpr int CLAVE_COD_MATERIA = 2;  // key KAAP:CLAVE_COD_MATERIA
  static constexpr int CLAVE_ALFA_MATERIAS = 3;  // key KAAP:CLAVE_ALFA_MATERIAS
  static constexpr int CLAVE_MATERIA_REGISTRO_LEGAJO = 4;  // key KAAP:CLAVE_MATERIA_REGISTRO_LEGAJO
  static constexpr int CLAVE_MATERIA_LEGAJO = 5;  // key KAAP:CLAVE_MATERIA_LEGAJO
  static constexpr int CLAVE_CODMATERIA_ALUALFA = 6;  // key KAAP:CLAVE_CODMATERIA_ALUALFA
  static constexpr int CLAVE_LEGAJO_ESTADO_ORDEN_CMATERIA = 7;  // key KAAP:CLAVE_LEGAJO_ESTADO_ORDEN_CMATERIA
  static constexpr int CLAVE_ALFAMAGERIA_LEGAJO = 8;  // key KAAP:CLAVE_ALFAMAGERIA_LEGAJO
  static constexpr int CLAVE_LEGAJO_COD_MATERIA = 9;  // key KAAP:CLAVE_LEGAJO_COD_MATERIA

  KAAP_RECORD() { clear(); }
  void clear();  // strings and memo to spaces, numbers and dates to zero
  unsigned char* image() { return reinterpret_cast<unsigned char*>(this); }
  const unsigned char* image() const { return reinterpret_cast<const unsigned char*>(this); }
  char* memo() { return APRENDIZAJE_TRABAJO.c; }
};

static_assert(offsetof(KAAP_RECORD, NRO_REGISTRO) == 0);
static_assert(offsetof(KAAP_RECORD, COD_MATERIA) == 4);
static_assert(offsetof(KAAP_RECORD, COD_CURSO) == 8);
static_assert(offsetof(KAAP_RECORD, COD_DOCENTE) == 12);
static_assert(offsetof(KAAP_RECORD, NRO_ORDEN) == 16);
static_assert(offsetof(KAAP_RECORD, MATERIAS) == 18);
static_assert(offsetof(KAAP_RECORD, DOCENTE) == 78);
static_assert(offsetof(KAAP_RECORD, CONTENIDO_PRIORIZADO) == 138);
static_assert(offsetof(KAAP_RECORD, APRENDIZAJE_TRABAJO) == 393);
static_assert(sizeof(KAAP_RECORD) == 1393);

// KAL:RECORD, the record of KALIBRETA ("KALIBRETA.TPS"): 1624 bytes.
//
//   offset  bytes  field
//        0      4  NRO_REGISTRO                 LONG
//        4      4  NRO_LEGAJO                   LONG
//        8      2  NRO_ORDEN                    SHORT
//       10     10  SEXO                         STRING(10)
//       20     30  ALUMNO                       STRING(30)
//       50      4  COD_MATERIA                  LONG
//       54     60  MATERIAS                     STRING(60)
//      114      6  CAMPO                        STRING(6)
//      120      4  ETAPA1                       DECIMAL(7,2)
//      124      4  ETAPA2                       DECIMAL(7,2)
//      128      4  ETAPA3                       DECIMAL(7,2)
//      132      4  ETAPA4                       DECIMAL(7,2)
//      136      4  ETAPA5                       DECIMAL(7,2)
//      140      4  ETAPA6                       DECIMAL(7,2)
//      144      4  ETAPA7                       DECIMAL(7,2)
//      148      4  ETAPA8                       DECIMAL(7,2)
//      152      4  ETAPA9                       DECIMAL(7,2)
//      156      4  ETAPA10                      DECIMAL(7,2)
//      160      4  ETAPA11                      DECIMAL(7,2)
//      164      4  ETAPA12                      DECIMAL(7,2)
//      168      4  ETAPA13                      DECIMAL(7,2)
//      172      4  ETAPA14                      DECIMAL(7,2)
//      176      4  ETAPA15                      DECIMAL(7,2)
//      180      4  ETAPA16                      DECIMAL(7,2)
//      184      4  ETAPA17                      DECIMAL(7,2)
//      188      4  ETAPA18                      DECIMAL(7,2)
//      192      4  ETAPA19                      DECIMAL(7,2)
//      196      4  ETAPA20                      DECIMAL(7,2)
//      200      4  ETAPA21                      DECIMAL(7,2)
//      204      4  ETAPA22                      DECIMAL(7,2)
//      208      4  ETAPA23                      DECIMAL(7,2)
//      212      4  ETAPA24                      DECIMAL(7,2)
//      216      4  ETAPA25                      DECIMAL(7,2)
//      220      4  ETAPA26                      DECIMAL(7,2)
//      224      4  ETAPA27                      DECIMAL(7,2)
//      228      4  ETAPA28                      DECIMAL(7,2)
//      232      4  ETAPA29                      DECIMAL(7,2)
//      236      4  ETAPA30                      DECIMAL(7,2)
//      240      3  PRONOSTICO1                  DECIMAL(5,2)
//      243      4  PRONOSTICO2                  DECIMAL(7,2)
//      247      3  PRONOSTICO3                  DECIMAL(5,2)
//      250      4  FINALETAPAI                  DECIMAL(7,2)
//      254      4  FINALETAPAII                 DECIMAL(7,2)
//      258      4  FINALETAPAIII                DECIMAL(7,2)
//      262      4  EVALUACION_ANUAL             DECIMAL(7,2)
//      266      4  DICIEMBRE                    DECIMAL(7,2)
//      270      4  MARZO                        DECIMAL(7,2)
//      274      4  FINAL                        DECIMAL(7,2)
//      278      3  CUALIFICA1                   STRING(3)
//      281      3  CUALIFICA2                   STRING(3)
//      284      3  CUALIFICA3                   STRING(3)
//      287      3  CUALIFICA4                   STRING(3)
//      290      3  CUALIFICA5                   STRING(3)
//      293      3  CUALIFICA6                   STRING(3)
//      296      3  CUALIFICA7                   STRING(3)
//      299      3  CUALIFICA8                   STRING(3)
//      302      3  CUALIFICA9                   STRING(3)
//      305      3  CUALIFICA10                  STRING(3)
//      308      3  CUALIFICA11                  STRING(3)
//      311      3  CUALIFICA12                  STRING(3)
//      314      3  CUALIFICA13                  STRING(3)
//      317      3  CUALIFICA14                  STRING(3)
//      320      3  CUALIFICA15                  STRING(3)
//      323      3  CUALIFICA16                  STRING(3)
//      326      3  CUALIFICA17                  STRING(3)
//      329      3  CUALIFICA18                  STRING(3)
//      332      3  CUALIFICA19                  STRING(3)
//      335      3  CUALIFICA20                  STRING(3)
//      338      3  FINAL1                       STRING(3)
//      341      3  FINAL2                       STRING(3)
//      344      3  FINAL3                       STRING(3)
//      347      3  FINALANUAL                   STRING(3)
//      350      4  EXTRA1                       DECIMAL(7,2)
//      354      4  EXTRA2                       DECIMAL(7,2)
//      358      4  EXTRA3                       DECIMAL(7,2)
//      362      4  EXTRA4                       DECIMAL(7,2)
//      366      4  EXTRA5                       DECIMAL(7,2)
//      370      4  EXTRA6                       DECIMAL(7,2)
//      374      4  EXTRA7                       DECIMAL(7,2)
//      378      4  EXTRA8                       DECIMAL(7,2)
//      382      4  EXTRA9                       DECIMAL(7,2)
//      386      4  EXTRA10                      DECIMAL(7,2)
//      390      4  EXTRA11                      DECIMAL(7,2)
//      394      4  EXTRA12                      DECIMAL(7,2)
//      398      4  EXTRA13                      DECIMAL(7,2)
//      402      4  EXTRA14                      DECIMAL(7,2)
//      406      4  EXTRA15                      DECIMAL(7,2)
//      410      4  EXTRA16                      DECIMAL(7,2)
//      414      4  EXTRA17                      DECIMAL(7,2)
//      418      4  EXTRA18                      DECIMAL(7,2)
//      422      4  EXTRA19                      DECIMAL(7,2)
//      426      4  EXTRA20                      DECIMAL(7,2)
//      430     20  ETADO                        STRING(20)
//      450      4  FECHA_OPERACION              DATE
//      454      4  FECHA1                       DATE
//      458      4  FECHA2                       DATE
//      462      4  FECHA3                       DATE
//      466      4  FECHA4                       DATE
//      470      4  FECHA5                       DATE
//      474      4  FECHA6                       DATE
//      478      4  FECHA7                       DATE
//      482      4  FECHA8                       DATE
//      486      4  FECHA9                       DATE
//      490      4  FECHA10                      DATE
//      494      4  FECHA11                      DATE
//      498      4  FECHA12                      DATE
//      502     10  AC                           STRING(10)
//      512     10  AM                           STRING(10)
//      522      4  TOTALFALTAS                  LONG
//      526      4  ASISTENCIAS                  LONG
//      530      4  PORCENTAJE                   LONG
//      534      4  COD_CURSO                    LONG
//      538     10  INGRESO                      STRING(10)
//      548     20  OPERADOR                     STRING(20)
//      568     70  OBSERVACION1                 STRING(70)
//      638     70  OBSERVACION2                 STRING(70)
//      708     70  OBSERVACION3                 STRING(70)
//      778     70  OBSERVACION4                 STRING(70)
//      848     70  OBSERVACION5                 STRING(70)
//      918     70  OBSERVACION6                 STRING(70)
//      988     70  OBSERVACION7                 STRING(70)
//     1058     70  OBSERVACION8                 STRING(70)
//     1128     70  OBSERVACION9                 STRING(70)
//     1198     70  OBSERVACION10                STRING(70)
//     1268     70  OBSERVACION11                STRING(70)
//     1338     70  OBSERVACION12                STRING(70)
//     1408     70  OBSERVACION13                STRING(70)
//     1478     70  OBSERVACION14                STRING(70)
//     1548     70  OBSERVACION15                STRING(70)
//     1618      4  PROMEDIAEN                   LONG
//     1622      2  CANTIDAD                     SHORT
struct KAL_RECORD {
  store::Long NRO_REGISTRO;
  store::Long NRO_LEGAJO;
  store::Short NRO_ORDEN;
  store::String<10> SEXO;
  store::String<30> ALUMNO;
  store::Long COD_MATERIA;
  store::String<60> MATERIAS;
  store::String<6> CAMPO;
  store::Decimal<4> ETAPA1;
  store::Decimal<4> ETAPA2;
  store::Decimal<4> ETAPA3;
  store::Decimal<4> ETAPA4;
  store::Decimal<4> ETAPA5;
  store::Decimal<4> ETAPA6;
  store::Decimal<4> ETAPA7;
  store::Decimal<4> ETAPA8;
  store::Decimal<4> ETAPA9;
  store::Decimal<4> ETAPA10;
  store::Decimal<4> ETAPA11;
  store::Decimal<4> ETAPA12;
  store::Decimal<4> ETAPA13;
  store::Decimal<4> ETAPA14;
  store::Decimal<4> ETAPA15;
  store::Decimal<4> ETAPA16;
  store::Decimal<4> ETAPA17;
  store::Decimal<4> ETAPA18;
  store::Decimal<4> ETAPA19;
  store::Decimal<4> ETAPA20;
  store::Decimal<4> ETAPA21;
  store::Decimal<4> ETAPA22;
  store::Decimal<4> ETAPA23;
  store::Decimal<4> ETAPA24;
  store::Decimal<4> ETAPA25;
  store::Decimal<4> ETAPA26;
  store::Decimal<4> ETAPA27;
  store::Decimal<4> ETAPA28;
  store::Decimal<4> ETAPA29;
  store::Decimal<4> ETAPA30;
  store::Decimal<3> PRONOSTICO1;
  store::Decimal<4> PRONOSTICO2;
  store::Decimal<3> PRONOSTICO3;
  store::Decimal<4> FINALETAPAI;
  store::Decimal<4> FINALETAPAII;
  store::Decimal<4> FINALETAPAIII;
  store::Decimal<4> EVALUACION_ANUAL;
  store::Decimal<4> DICIEMBRE;
  store::Decimal<4> MARZO;
  store::Decimal<4> FINAL;
  store::String<3> CUALIFICA1;
  store::String<3> CUALIFICA2;
  store::String<3> CUALIFICA3;
  store::String<3> CUALIFICA4;
  store::String<3> CUALIFICA5;
  store::String<3> CUALIFICA6;
  store::String<3> CUALIFICA7;
  store::String<3> CUALIFICA8;
  store::String<3> CUALIFICA9;
  store::String<3> CUALIFICA10;
  store::String<3> CUALIFICA11;
  store::String<3> CUALIFICA12;
  store::String<3> CUALIFICA13;
  store::String<3> CUALIFICA14;
  store::String<3> CUALIFICA15;
  store::String<3> CUALIFICA16;
  store::String<3> CUALIFICA17;
  store::String<3> CUALIFICA18;
  store::String<3> CUALIFICA19;
  store::String<3> CUALIFICA20;
  store::String<3> FINAL1;
  store::String<3> FINAL2;
  store::String<3> FINAL3;
  store::String<3> FINALANUAL;
  store::Decimal<4> EXTRA1;
  store::Decimal<4> EXTRA2;
  store::Decimal<4> EXTRA3;
  store::Decimal<4> EXTRA4;
  store::Decimal<4> EXTRA5;
  store::Decimal<4> EXTRA6;
  store::Decimal<4> EXTRA7;
  store::Decimal<4> EXTRA8;
  store::Decimal<4> EXTRA9;
  store::Decimal<4> EXTRA10;
  store::Decimal<4> EXTRA11;
  store::Decimal<4> EXTRA12;
  store::Decimal<4> EXTRA13;
  store::Decimal<4> EXTRA14;
  store::Decimal<4> EXTRA15;
  store::Decimal<4> EXTRA16;
  store::Decimal<4> EXTRA17;
  store::Decimal<4> EXTRA18;
  store::Decimal<4> EXTRA19;
  store::Decimal<4> EXTRA20;
  store::String<20> ETADO;
  store::Date FECHA_OPERACION;
  store::Date FECHA1;
  store::Date FECHA2;
  store::Date FECHA3;
  store::Date FECHA4;
  store::Date FECHA5;
  store::Date FECHA6;
  store::Date FECHA7;
  store::Date FECHA8;
  store::Date FECHA9;
  store::Date FECHA10;
  store::Date FECHA11;
  store::Date FECHA12;
  store::String<10> AC;
  store::String<10> AM;
  store::Long TOTALFALTAS;
  store::Long ASISTENCIAS;
  store::Long PORCENTAJE;
  store::Long COD_CURSO;
  store::String<10> INGRESO;
  store::String<20> OPERADOR;
  store::String<70> OBSERVACION1;
  store::String<70> OBSERVACION2;
  store::String<70> OBSERVACION3;
  store::String<70> OBSERVACION4;
  store::String<70> OBSERVACION5;
  store::String<70> OBSERVACION6;
  store::String<70> OBSERVACION7;
  store::String<70> OBSERVACION8;
  store::String<70> OBSERVACION9;
  store::String<70> OBSERVACION10;
  store::String<70> OBSERVACION11;
  store::String<70> OBSERVACION12;
  store::String<70> OBSERVACION13;
  store::String<70> OBSERVACION14;
  store::String<70> OBSERVACION15;
  store::Long PROMEDIAEN;
  store::Short CANTIDAD;

  static constexpr std::size_t kRecordBytes = 1624;
  static constexpr int CLAVE_PRIMARIA = 0;  // key KAL:CLAVE_PRIMARIA
  static constexpr int CLAVE_LEGAGO = 1;  // key KAL:CLAVE_LEGAGO
  static constexpr int CLAVE_MATERIA = 2;  // key KAL:CLAVE_MATERIA
  static constexpr int CLAVE_ALFA_MATERIAS = 3;  // key KAL:CLAVE_ALFA_MATERIAS
  static constexpr int CLAVE_MATERIA_ORDEN_LEGAJO = 4;  // key KAL:CLAVE_MATERIA_ORDEN_LEGAJO
  static constexpr int CLAVE_MATERIA_LEGAJOS = 5;  // key KAL:CLAVE_MATERIA_LEGAJOS
  static constexpr int CLAVE_MATERIA_SEXO_ALUMNO = 6;  // key KAL:CLAVE_MATERIA_SEXO_ALUMNO
  static constexpr int CLAVE_MATERIA_SEXO_ALUMNO2 = 7;  // key KAL:CLAVE_MATERIA_SEXO_ALUMNO2
  static constexpr int CLAVE_CODMATERIA_ALUALFA = 8;  // key KAL:CLAVE_CODMATERIA_ALUALFA
  static constexpr int CLAVE_RENDIMIENTO_ACADEMICO = 9;  // key KAL:CLAVE_RENDIMIENTO_ACADEMICO
  static constexpr int CLAVE_PROMEDIAEN_LEGAJO = 10;  // key KAL:CLAVE_PROMEDIAEN_LEGAJO
  static constexpr int CLAVE_LEGAJO_ESTADO_ORDEN_CMATERIA = 11;  // key KAL:CLAVE_LEGAJO_ESTADO_ORDEN_CMATERIA

  KAL_RECORD() { clear(); }
  void clear();  // strings and memo to spaces, numbers and dates to zero
  unsigned char* image() { return reinterpret_cast<unsigned char*>(this); }
  const unsigned char* image() const { return reinterpret_cast<const unsigned char*>(this); }
};

static_assert(offsetof(KAL_RECORD, NRO_REGISTRO) == 0);
static_assert(offsetof(KAL_RECORD, NRO_LEGAJO) == 4);
static_assert(offsetof(KAL_RECORD, NRO_ORDEN) == 8);
static_assert(offsetof(KAL_RECORD, SEXO) == 10);
static_assert(offsetof(KAL_RECORD, ALUMNO) == 20);
static_assert(offsetof(KAL_RECORD, COD_MATERIA) == 50);
static_assert(offsetof(KAL_RECORD, MATERIAS) == 54);
static_assert(offsetof(KAL_RECORD, CAMPO) == 114);
static_assert(offsetof(KAL_RECORD, ETAPA1) == 120);
static_assert(offsetof(KAL_RECORD, ETAPA2) == 124);
static_assert(offsetof(KAL_RECORD, ETAPA3) == 128);
static_assert(offsetof(KAL_RECORD, ETAPA4) == 132);
static_assert(offsetof(KAL_RECORD, ETAPA5) == 136);
static_assert(offsetof(KAL_RECORD, ETAPA6) == 140);
static_assert(offsetof(KAL_RECORD, ETAPA7) == 144);
static_assert(offsetof(KAL_RECORD, ETAPA8) == 148);
static_assert(offsetof(KAL_RECORD, ETAPA9) == 152);
static_assert(offsetof(KAL_RECORD, ETAPA10) == 156);
static_assert(offsetof(KAL_RECORD, ETAPA11) == 160);
static_assert(offsetof(KAL_RECORD, ETAPA12) == 164);
static_assert(offsetof(KAL_RECORD, ETAPA13) == 168);
static_assert(offsetof(KAL_RECORD, ETAPA14) == 172);
static_assert(offsetof(KAL_RECORD, ETAPA15) == 176);
static_assert(offsetof(KAL_RECORD, ETAPA16) == 180);
static_assert(offsetof(KAL_RECORD, ETAPA17) == 184);
static_assert(offsetof(KAL_RECORD, ETAPA18) == 188);
static_assert(offsetof(KAL_RECORD, ETAPA19) == 192);
static_assert(offsetof(KAL_RECORD, ETAPA20) == 196);
static_assert(offsetof(KAL_RECORD, ETAPA21) == 200);
static_assert(offsetof(KAL_RECORD, ETAPA22) == 204);
static_assert(offsetof(KAL_RECORD, ETAPA23) == 208);
static_assert(offsetof(KAL_RECORD, ETAPA24) == 212);
static_assert(offsetof(KAL_RECORD, ETAPA25) == 216);
static_assert(offsetof(KAL_RECORD, ETAPA26) == 220);
static_assert(offsetof(KAL_RECORD, ETAPA27) == 224);
static_assert(offsetof(KAL_RECORD, ETAPA28) == 228);
static_assert(offsetof(KAL_RECORD, ETAPA29) == 232);
static_assert(offsetof(KAL_RECORD, ETAPA30) == 236);
static_assert(offsetof(KAL_RECORD, PRONOSTICO1) == 240);
static_assert(offsetof(KAL_RECORD, PRONOSTICO2) == 243);
static_assert(offsetof(KAL_RECORD, PRONOSTICO3) == 247);
static_assert(offsetof(KAL_RECORD, FINALETAPAI) == 250);
static_assert(offsetof(KAL_RECORD, FINALETAPAII) == 254);
static_assert(offsetof(KAL_RECORD, FINALETAPAIII) == 258);
static_assert(offsetof(KAL_RECORD, EVALUACION_ANUAL) == 262);
static_assert(offsetof(KAL_RECORD, DICIEMBRE) == 266);
static_assert(offsetof(KAL_RECORD, MARZO) == 270);
static_assert(offsetof(KAL_RECORD, FINAL) == 274);
static_assert(offsetof(KAL_RECORD, CUALIFICA1) == 278);
static_assert(offsetof(KAL_RECORD, CUALIFICA2) == 281);
static_assert(offsetof(KAL_RECORD, CUALIFICA3) == 284);
static_assert(offsetof(KAL_RECORD, CUALIFICA4) == 287);
static_assert(offsetof(KAL_RECORD, CUALIFICA5) == 290);
static_assert(offsetof(KAL_RECORD, CUALIFICA6) == 293);
static_assert(offsetof(KAL_RECORD, CUALIFICA7) == 296);
static_assert(offsetof(KAL_RECORD, CUALIFICA8) == 299);
static_assert(offsetof(KAL_RECORD, CUALIFICA9) == 302);
static_assert(offsetof(KAL_RECORD, CUALIFICA10) == 305);
static_assert(offsetof(KAL_RECORD, CUALIFICA11) == 308);
static_assert(offsetof(KAL_RECORD, CUALIFICA12) == 311);
static_assert(offsetof(KAL_RECORD, CUALIFICA13) == 314);
static_assert(offsetof(KAL_RECORD, CUALIFICA14) == 317);
static_assert(offsetof(KAL_RECORD, CUALIFICA15) == 320);
static_assert(offsetof(KAL_RECORD, CUALIFICA16) == 323);
static_assert(offsetof(KAL_RECORD, CUALIFICA17) == 326);
static_assert(offsetof(KAL_RECORD, CUALIFICA18) == 329);
static_assert(offsetof(KAL_RECORD, CUALIFICA19) == 332);
static_assert(offsetof(KAL_RECORD, CUALIFICA20) == 335);
static_assert(offsetof(KAL_RECORD, FINAL1) == 338);
static_assert(offsetof(KAL_RECORD, FINAL2) == 341);
static_assert(offsetof(KAL_RECORD, FINAL3) == 344);
static_assert(offsetof(KAL_RECORD, FINALANUAL) == 347);
static_assert(offsetof(KAL_RECORD, EXTRA1) == 350);
static_assert(offsetof(KAL_RECORD, EXTRA2) == 354);
static_assert(offsetof(KAL_RECORD, EXTRA3) == 358);
static_assert(offsetof(KAL_RECORD, EXTRA4) == 362);
static_assert(offsetof(KAL_RECORD, EXTRA5) == 366);
static_assert(offsetof(KAL_RECORD, EXTRA6) == 370);
static_assert(offsetof(KAL_RECORD, EXTRA7) == 374);
static_assert(offsetof(KAL_RECORD, EXTRA8) == 378);
static_assert(offsetof(KAL_RECORD, EXTRA9) == 382);
static_assert(offsetof(KAL_RECORD, EXTRA10) == 386);
static_assert(offsetof(KAL_RECORD, EXTRA11) == 390);
static_assert(offsetof(KAL_RECORD, EXTRA12) == 394);
static_assert(offsetof(KAL_RECORD, EXTRA13) == 398);
static_assert(offsetof(KAL_RECORD, EXTRA14) == 402);
static_assert(offsetof(KAL_RECORD, EXTRA15) == 406);
static_assert(offsetof(KAL_RECORD, EXTRA16) == 410);
static_assert(offsetof(KAL_RECORD, EXTRA17) == 414);
static_assert(offsetof(KAL_RECORD, EXTRA18) == 418);
static_assert(offsetof(KAL_RECORD, EXTRA19) == 422);
static_assert(offsetof(KAL_RECORD, EXTRA20) == 426);
static_assert(offsetof(KAL_RECORD, ETADO) == 430);
static_assert(offsetof(KAL_RECORD, FECHA_OPERACION) == 450);
static_assert(offsetof(KAL_RECORD, FECHA1) == 454);
static_assert(offsetof(KAL_RECORD, FECHA2) == 458);
static_assert(offsetof(KAL_RECORD, FECHA3) == 462);
static_assert(offsetof(KAL_RECORD, FECHA4) == 466);
static_assert(offsetof(KAL_RECORD, FECHA5) == 470);
static_assert(offsetof(KAL_RECORD, FECHA6) == 474);
static_assert(offsetof(KAL_RECORD, FECHA7) == 478);
static_assert(offsetof(KAL_RECORD, FECHA8) == 482);
static_assert(offsetof(KAL_RECORD, FECHA9) == 486);
static_assert(offsetof(KAL_RECORD, FECHA10) == 490);
static_assert(offsetof(KAL_RECORD, FECHA11) == 494);
static_assert(offsetof(KAL_RECORD, FECHA12) == 498);
static_assert(offsetof(KAL_RECORD, AC) == 502);
static_assert(offsetof(KAL_RECORD, AM) == 512);
static_assert(offsetof(KAL_RECORD, TOTALFALTAS) == 522);
static_assert(offsetof(KAL_RECORD, ASISTENCIAS) == 526);
static_assert(offsetof(KAL_RECORD, PORCENTAJE) == 530);
static_assert(offsetof(KAL_RECORD, COD_CURSO) == 534);
static_assert(offsetof(KAL_RECORD, INGRESO) == 538);
static_assert(offsetof(KAL_RECORD, OPERADOR) == 548);
static_assert(offsetof(KAL_RECORD, OBSERVACION1) == 568);
static_assert(offsetof(KAL_RECORD, OBSERVACION2) == 638);
static_assert(offsetof(KAL_RECORD, OBSERVACION3) == 708);
static_assert(offsetof(KAL_RECORD, OBSERVACION4) == 778);
static_assert(offsetof(KAL_RECORD, OBSERVACION5) == 848);
static_assert(offsetof(KAL_RECORD, OBSERVACION6) == 918);
static_assert(offsetof(KAL_RECORD, OBSERVACION7) == 988);
static_assert(offsetof(KAL_RECORD, OBSERVACION8) == 1058);
static_assert(offsetof(KAL_RECORD, OBSERVACION9) == 1128);
static_assert(offsetof(KAL_RECORD, OBSERVACION10) == 1198);
static_assert(offsetof(KAL_RECORD, OBSERVACION11) == 1268);
static_assert(offsetof(KAL_RECORD, OBSERVACION12) == 1338);
static_assert(offsetof(KAL_RECORD, OBSERVACION13) == 1408);
static_assert(offsetof(KAL_RECORD, OBSERVACION14) == 1478);
static_assert(offsetof(KAL_RECORD, OBSERVACION15) == 1548);
static_assert(offsetof(KAL_RECORD, PROMEDIAEN) == 1618);
static_assert(offsetof(KAL_RECORD, CANTIDAD) == 1622);
static_assert(sizeof(KAL_RECORD) == 1624);

// The declarations of the three files: fields, keys, memo, name on disk.
extern const store::FileDesc KAMATERIAS;
extern const store::FileDesc KAAPRENDE;
extern const store::FileDesc KALIBRETA;

// The calling thread's record buffers: every read fills them, every write stores them.
extern thread_local KAM_RECORD KAM;
extern thread_local KAAP_RECORD KAAP;
extern thread_local KAL_RECORD KAL;
