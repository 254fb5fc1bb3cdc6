// The report engine: layouts as data (bands and controls in millimetres),
// pages composed into display lists of drawing operations, and the replay of
// a page onto any painter (the preview, a printer, a PDF writer).
//
// Page composition: the form and the page header at their places on every
// page; detail rows stacked from the top of the detail area; a row that does
// not fit starts a new page; the page footer drawn as a page is finished.
// Values are taken from their sources when their band prints.
#pragma once

#include <QColor>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QRectF>
#include <QString>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "store/decimal.h"

class QPainter;
class QPaintDevice;

namespace fw::report {

// Value pictures: "s11" (the first 11 characters), "n3", "n2B", "n5.2B",
// "N5.2B", "n_14", "n5." and the like. Rounding is half up (away from zero);
// a number with more integer digits than its picture holds prints as a row of
// "#"; "B" blanks a zero value. The result has no padding.
QString formatNumber(const QString& picture, store::Dec value);
QString formatString(const QString& picture, const QString& text);
// How many characters a picture shows (its natural width).
int pictureWidth(const QString& picture);

enum class Kind { Box, Line, Text, Value };
enum class Align { Left, Centre, Right };

struct Control {
  int number = 0;
  Kind kind = Kind::Text;
  double x = 0, y = 0, w = -1, h = -1;  // mm, from the band's corner; -1: natural
  QString text;                         // a text control's text
  QString field;                        // a value control's label ("KAL:ALUMNO")
  QString picture;
  std::function<QString()> value;       // a value control's formatted value
  QString font;                         // empty: the band's
  double points = 0;                    // 0: the band's
  bool bold = false;
  Align align = Align::Left;
  double indent = 0;                    // mm in from the right edge, for Right
  QColor color = Qt::black;             // lines, box borders
  QColor fill;                          // boxes
};

struct Band {
  QString name;
  double x = 0, y = 0, w = 0, h = 0;  // mm on the page (the detail band: its height)
  QString font;
  double points = 0;
  std::vector<Control> controls;
};

struct Layout {
  QString documentName;
  QPageLayout::Orientation orientation = QPageLayout::Landscape;
  double pageWidth = 297, pageHeight = 210;  // mm
  QString font = "Calibri";
  double points = 10;
  QRectF detailArea;  // mm
  Band header, detail, footer, form;
};

// One drawing operation of a page, in millimetres on the page.
struct Op {
  Kind kind;
  QRectF rect;          // text: its box; line: from topLeft to bottomRight
  QString text;
  QString font;
  double points = 0;
  bool bold = false;
  Align align = Align::Left;
  QColor color;
  QColor fill;
  bool clip = false;    // text overflowing its box: clipped at the box
  int control = 0;      // the control's number
};

struct Page {
  std::vector<Op> ops;
};

class Engine {
 public:
  explicit Engine(const Layout& layout) : layout_(layout) {}
  void Open();
  void PrintDetail();  // one detail row; a new page when it does not fit
  void End();          // finishes the last page
  int Count() const { return count_; }
  const std::vector<Page>& Pages() const { return pages_; }
  std::vector<Page> TakePages() { return std::move(pages_); }

 private:
  void startPage();
  void finishPage();
  void band(const Band& b, double x, double y);
  const QFontMetricsF& metrics(const QString& family, double points, bool bold);
  struct FontKey {
    QString family;
    double points;
    bool bold;
  };
  std::deque<std::pair<FontKey, QFontMetricsF>> metrics_;
  const Layout& layout_;
  std::vector<Page> pages_;
  bool pageOpen_ = false;
  double rowY_ = 0;
  int count_ = 0;
};

// Draws a page onto a painter whose device has `dpi` dots per inch.
void Replay(const Page& page, QPainter& painter, double dpi, double zoom = 1.0);
// Writes pages as a PDF file; false when it cannot be written.
bool WritePdf(const Layout& layout, const std::vector<Page>& pages, const QString& path);

}  // namespace fw::report
