// The print preview: the rendered pages of a report, page navigation, preset
// zoom levels and a zoom percentage of the user's own, printing through the
// system's print dialog, and saving the pages as a PDF file. It keeps its
// placement in the INI section "_PreviewWindow_".
#pragma once

#include <QDialog>

#include <vector>

#include "framework/ini_class.h"
#include "framework/report.h"

class QLabel;
class QSpinBox;
class QComboBox;

namespace fw::report {

class PreviewWindow : public QDialog, public PlacementTarget {
 public:
  PreviewWindow(const Layout& layout, const std::vector<Page>& pages, INIClass* ini);
  // Shows the preview modally; returns whether the pages were printed.
  bool Run();
  int CurrentPage() const { return page_; }
  void ShowPage(int page);   // 0-based
  void SetZoom(int percent);
  int Zoom() const { return zoom_; }
  bool Print();              // through the system's print dialog
  bool SavePdf(const QString& path);

  // PlacementTarget, in dialog units of the window's font
  bool isMaximized() const override { return windowState() & Qt::WindowMaximized; }
  bool isMinimized() const override { return windowState() & Qt::WindowMinimized; }
  bool isResizable() const override { return true; }
  int xPos() const override;
  int yPos() const override;
  int widthUnits() const override;
  int heightUnits() const override;
  void setPosition(std::optional<int> x, std::optional<int> y) override;
  void setSize(std::optional<int> w, std::optional<int> h) override;
  void maximize() override { setWindowState(windowState() | Qt::WindowMaximized); }
  void restore() override { setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized)); }
  void minimize() override { setWindowState(windowState() | Qt::WindowMinimized); }

 private:
  class Canvas;
  void refresh();
  const Layout& layout_;
  const std::vector<Page>& pages_;
  INIClass* ini_;
  Canvas* canvas_;
  QLabel* pageLabel_;
  QSpinBox* zoomBox_;
  int page_ = 0;
  int zoom_ = 100;
  bool printed_ = false;
  double unitX_ = 1, unitY_ = 1;  // pixels per dialog unit
};

}  // namespace fw::report
