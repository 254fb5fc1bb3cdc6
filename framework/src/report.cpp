#include "framework/report.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace fw::report {
namespace {

struct NumberPicture {
  int width = 0;
  int decimals = 0;
  bool grouped = false;  // "." between thousands
  bool blank = false;    // "B": zero prints blank
};

NumberPicture parseNumber(const QString& p) {
  NumberPicture n;
  int i = 1;  // after "n" or "N"
  if (i < p.size() && p[i] == '_') ++i;
  while (i < p.size() && p[i].isDigit()) n.width = n.width * 10 + p[i++].digitValue();
  if (i < p.size() && p[i] == '.') {
    ++i;
    if (i < p.size() && p[i].isDigit()) {
      while (i < p.size() && p[i].isDigit()) n.decimals = n.decimals * 10 + p[i++].digitValue();
    } else {
      n.grouped = true;
    }
  }
  n.blank = p.endsWith('B');
  return n;
}

// Font metrics in millimetres, measured on a fine device.
const QPaintDevice& fineDevice() {
  static QImage image = [] {
    QImage i(1, 1, QImage::Format_RGB32);
    i.setDotsPerMeterX(47244);  // 1200 dpi
    i.setDotsPerMeterY(47244);
    return i;
  }();
  return image;
}
constexpr double kFineMmPerDot = 25.4 / 1200.0;

QFont fontOf(const QString& family, double points, bool bold) {
  QFont f(family);
  f.setPointSizeF(points);
  f.setBold(bold);
  return f;
}

}  // namespace

QString formatNumber(const QString& picture, store::Dec value) {
  const NumberPicture n = parseNumber(picture);
  if (n.blank && value.isZero()) return {};
  const std::int64_t cents = value.cents();
  const std::int64_t magnitude = cents < 0 ? -cents : cents;
  std::int64_t whole = 0;
  std::int64_t frac = 0;
  if (n.decimals >= 2) {
    whole = magnitude / 100;
    frac = magnitude % 100;
  } else if (n.decimals == 1) {
    const std::int64_t tenths = (magnitude + 5) / 10;  // half up
    whole = tenths / 10;
    frac = tenths % 10;
  } else {
    whole = (magnitude + 50) / 100;  // half up
  }
  QString digits = QString::number(whole);
  if (n.grouped)
    for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) digits.insert(i, '.');
  QString text = (cents < 0 && (whole || frac) ? "-" : "") + digits;
  if (n.decimals > 0) {
    QString f = QString::number(frac).rightJustified(std::min(n.decimals, 2), '0');
    while (f.size() < n.decimals) f += '0';
    text += "." + f;
  }
  if (n.width > 0 && text.size() > n.width) return QString(n.width, '#');
  return text;
}

QString formatString(const QString& picture, const QString& text) {
  const int width = picture.mid(1).toInt();
  QString s = text.left(width);
  while (s.endsWith(' ')) s.chop(1);
  return s;
}

int pictureWidth(const QString& picture) {
  if (picture.startsWith('s') || picture.startsWith('S')) return picture.mid(1).toInt();
  return parseNumber(picture).width;
}

// --- Engine -----------------------------------------------------------------------

const QFontMetricsF& Engine::metrics(const QString& family, double points, bool bold) {
  // Every row asks for the same few fonts: measure each once.
  for (const auto& [key, m] : metrics_)
    if (key.family == family && key.points == points && key.bold == bold) return m;
  metrics_.push_back({{family, points, bold}, QFontMetricsF(fontOf(family, points, bold), &fineDevice())});
  return metrics_.back().second;
}

void Engine::Open() {
  pages_.clear();
  pageOpen_ = false;
  count_ = 0;
}

void Engine::startPage() {
  pages_.emplace_back();
  band(layout_.form, layout_.form.x, layout_.form.y);
  band(layout_.header, layout_.header.x, layout_.header.y);
  rowY_ = layout_.detailArea.y();
  pageOpen_ = true;
}

void Engine::finishPage() {
  band(layout_.footer, layout_.footer.x, layout_.footer.y);
  pageOpen_ = false;
}

void Engine::PrintDetail() {
  constexpr double kSlack = 1e-6;
  if (pageOpen_ && rowY_ + layout_.detail.h > layout_.detailArea.bottom() + kSlack) finishPage();
  if (!pageOpen_) startPage();
  ++count_;
  band(layout_.detail, layout_.detailArea.x(), rowY_);
  rowY_ += layout_.detail.h;
}

void Engine::End() {
  if (pageOpen_) finishPage();
}

void Engine::band(const Band& b, double x, double y) {
  Page& page = pages_.back();
  for (const Control& c : b.controls) {
    Op op;
    op.kind = c.kind;
    op.control = c.number;
    op.color = c.color;
    op.fill = c.fill;
    if (c.kind == Kind::Box || c.kind == Kind::Line) {
      op.rect = QRectF(x + c.x, y + c.y, c.w, c.h);
      page.ops.push_back(op);
      continue;
    }
    op.text = c.kind == Kind::Text ? c.text : (c.value ? c.value() : QString());
    op.font = !c.font.isEmpty() ? c.font : (!b.font.isEmpty() ? b.font : layout_.font);
    op.points = c.points > 0 ? c.points : (b.points > 0 ? b.points : layout_.points);
    op.bold = c.bold;
    op.align = c.align;
    const QFontMetricsF& m = metrics(op.font, op.points, op.bold);
    double w = c.w, h = c.h;
    op.clip = w >= 0 && h >= 0;
    if (w < 0) {
      // Natural width: the text, or as many digits as the picture shows.
      w = c.kind == Kind::Text ? m.horizontalAdvance(op.text) * kFineMmPerDot
                               : m.horizontalAdvance(QString(pictureWidth(c.picture), '0')) * kFineMmPerDot;
    }
    if (h < 0) h = m.height() * kFineMmPerDot;
    op.rect = QRectF(x + c.x, y + c.y, w, h);
    if (c.align == Align::Right) op.rect.setRight(op.rect.right() - c.indent);
    // A clip costs the printer and the PDF writer: only a text that overflows its box gets one.
    if (op.clip)
      op.clip = m.horizontalAdvance(op.text) * kFineMmPerDot > op.rect.width() || m.height() * kFineMmPerDot > h;
    page.ops.push_back(op);
  }
}

// --- drawing ---------------------------------------------------------------------------

void Replay(const Page& page, QPainter& painter, double dpi, double zoom) {
  const double s = dpi / 25.4 * zoom;
  auto scaled = [s](const QRectF& r) { return QRectF(r.x() * s, r.y() * s, r.width() * s, r.height() * s); };
  for (const Op& op : page.ops) {
    switch (op.kind) {
      case Kind::Box:
        painter.setPen(QPen(op.color, 0));
        painter.setBrush(op.fill.isValid() ? QBrush(op.fill) : Qt::NoBrush);
        painter.drawRect(scaled(op.rect));
        break;
      case Kind::Line:
        painter.setPen(QPen(op.color, 0));
        painter.drawLine(QPointF(op.rect.left() * s, op.rect.top() * s),
                         QPointF(op.rect.right() * s, op.rect.bottom() * s));
        break;
      case Kind::Text:
      case Kind::Value: {
        QFont f = fontOf(op.font, op.points * zoom, op.bold);
        painter.setFont(f);
        painter.setPen(Qt::black);
        const Qt::Alignment h = op.align == Align::Left    ? Qt::AlignLeft
                                : op.align == Align::Right ? Qt::AlignRight
                                                           : Qt::AlignHCenter;
        const QRectF r = scaled(op.rect);
        if (op.clip) {
          painter.save();
          painter.setClipRect(r);
          painter.drawText(r, h | Qt::AlignTop, op.text);
          painter.restore();
        } else {
          painter.drawText(r, h | Qt::AlignTop | Qt::TextDontClip, op.text);
        }
        break;
      }
    }
  }
}

bool WritePdf(const Layout& layout, const std::vector<Page>& pages, const QString& path) {
  QPdfWriter writer(path);
  writer.setTitle(layout.documentName);
  writer.setResolution(1200);
  writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), layout.orientation, QMarginsF(0, 0, 0, 0)));
  QPainter painter;
  if (!painter.begin(&writer)) return false;
  for (std::size_t i = 0; i < pages.size(); ++i) {
    if (i > 0) writer.newPage();
    Replay(pages[i], painter, writer.resolution());
  }
  return painter.end();
}

}  // namespace fw::report
