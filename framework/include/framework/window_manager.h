// The window framework on Qt: windows whose controls are addressed by their
// number in window order and placed in dialog units, and the window manager
// that turns Qt's events into the framework's (the window's open event, a
// control selected when it gets the focus, a control's value accepted) and
// hands them to the procedure's overrides, which answer with a level:
// kLevelBenign to go on, kLevelFatal (3) to end the window's event loop,
// kLevelNotify (5) to skip the rest of the event.
//
// Event order for an accepted entry: the framework copies the control's text
// into its variable, then TakeAccepted, then TakeFieldEvent. A button's click:
// TakeAccepted, then TakeFieldEvent. Window events go to TakeWindowEvent.
//
// Dialog units: a horizontal unit is a quarter of the window font's average
// character width, a vertical unit an eighth of its height.
#pragma once

#include <QColor>
#include <QDialog>
#include <QIcon>
#include <QString>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "framework/error_class.h"
#include "framework/ini_class.h"
#include "store/field_types.h"

class QEventLoop;
class QLabel;
class QLineEdit;
class QPushButton;

namespace fw {

// Events the window manager passes on.
enum EventCode : int {
  EventAccepted = 1,      // a control's value accepted, a button pressed
  EventSelected = 2,      // a control got the focus
  EventOpenWindow = 0x201,
  EventCloseWindow = 0x202,
};

// Position and size in dialog units; a width of -1 takes the control's natural
// width, a height of -1 its font's height.
struct Rect {
  int x, y, w, h;
};

// How a control looks.
struct Look {
  bool bold = true;
  bool centred = false;
  bool transparent = false;
  QString font;           // empty: the window's font
  int points = 0;         // 0: the window's size
  std::optional<QColor> color;
  std::optional<QColor> background;
  std::optional<QColor> selectedColor;
  std::optional<QColor> selectedBackground;
};

// A variable a control shows and, for an entry, changes.
struct Variable {
  enum Type { Long, Short, Date, Text } type = Text;
  void* address = nullptr;
  int size = 0;  // characters, for Text
  static Variable of(std::int32_t& v) { return {Long, &v, 4}; }
  static Variable of(store::Long& v) { return {Long, &v, 4}; }
  static Variable of(store::Short& v) { return {Short, &v, 2}; }
  static Variable of(store::Date& v) { return {Date, &v, 4}; }
  template <std::size_t N>
  static Variable of(store::String<N>& v) { return {Text, v.c, static_cast<int>(N)}; }
};

// Display formats of the controls.
struct Picture {
  enum Kind { Integer, Date, Text } kind = Text;
  int width = 0;          // characters
  bool leadingMinus = true;
  static Picture integer(int width) { return {Integer, width, true}; }
  static Picture date() { return {Date, 10, false}; }      // day/month/four-digit year
  static Picture text(int width) { return {Text, width, false}; }
};

// Integer pictures: the value in decimal, a minus in front of negatives.
QString formatInteger(std::int64_t v);
// Date pictures: "DD/MM/YYYY"; an empty date shows as blanks.
QString formatDate(const store::Date& d);

// Maps the font names the windows and reports use to installed families with
// the same metrics: Consolas → Inconsolata, Calibri → Carlito, Arial →
// Liberation Sans.
void installFontSubstitutes();

class WindowManager;

class Window : public QDialog, public PlacementTarget {
 public:
  // A window of `size` dialog units in font `font` `points`.
  Window(const QString& font, int points, QColor background, QSize size, bool resizable);

  QLabel* AddString(int n, const QString& label, const QString& text, Rect r, const Look& look);
  QLineEdit* AddEntry(int n, const QString& label, Variable v, Picture p, Rect r, const Look& look);
  QLabel* AddDisplay(int n, const QString& label, Variable v, Picture p, Rect r, const Look& look);
  QWidget* AddLine(int n, const QString& label, Rect r, QColor color);
  QPushButton* AddButton(int n, const QString& label, const QString& text, const QIcon& icon, Rect r,
                         const Look& look, bool isDefault = false);
  // Any other widget, placed and numbered like the rest.
  void AddWidget(int n, const QString& label, QWidget* w, Rect r);
  // Numbers a widget that lives inside another control (a tab page).
  void Register(int n, const QString& label, QWidget* w);

  QWidget* Control(int n) const;
  int NumberOf(const QObject* w) const;
  QString LabelOf(int n) const;
  std::vector<int> Numbers() const;
  int DefaultButton() const { return defaultButton_; }

  int PixelsX(int dlu) const;
  int PixelsY(int dlu) const;
  int DluX(int px) const;
  int DluY(int px) const;
  QRect PixelRect(Rect r) const;

  // PlacementTarget, in dialog units
  bool isMaximized() const override;
  bool isMinimized() const override;
  bool isResizable() const override { return resizable_; }
  int xPos() const override;
  int yPos() const override;
  int widthUnits() const override;
  int heightUnits() const override;
  void setPosition(std::optional<int> x, std::optional<int> y) override;
  void setSize(std::optional<int> w, std::optional<int> h) override;
  void maximize() override;
  void restore() override;
  void minimize() override;

  struct Binding {
    Variable variable;
    Picture picture;
  };
  const Binding* BindingOf(int n) const;

  WindowManager* manager = nullptr;

 protected:
  void reject() override;  // Esc, and the system's close command
  void closeEvent(QCloseEvent* e) override;

 private:
  void place(int n, const QString& label, QWidget* w, Rect r, const Look* look);
  QFont fontFor(const Look& look) const;

  bool resizable_;
  std::map<int, QWidget*> controls_;
  std::map<int, QString> labels_;
  std::map<int, Binding> bindings_;
  int defaultButton_ = 0;
  int charWidth_ = 1, charHeight_ = 1;
};

// A toolbar navigation object: the windows here have no toolbar; the object
// only takes part in the navigation requests.
class ToolbarClass {
 public:
  void Init() {}
  void Kill() {}
};

class WindowManager : public QObject {
 public:
  WindowManager();
  ~WindowManager() override;

  // The framework's parts of the overridable steps.
  virtual int Init();
  virtual int Kill();
  virtual int TakeEvent();
  virtual int TakeAccepted();
  virtual int TakeFieldEvent();
  virtual int TakeWindowEvent();
  // Lists re-read their selected rows (none here); redisplays the window.
  virtual void Update();
  virtual void Reset(bool force = false);

  // Init, the event loop, Kill. Returns the response (2 when none was given).
  int Run();
  // Opens (shows) the window and queues its open event.
  void Open(Window& w);
  void AddItem(ToolbarClass& toolbar) { toolbar_ = &toolbar; }
  void SetAlerts() {}
  void SetResponse(int response) { Response = response; }

  // Controls, by number.
  void Hide(int n);
  void Unhide(int n);
  void SetX(int n, int x);
  void SetY(int n, int y);
  void Select(int n);   // gives the control the focus
  void Display(int n = 0);  // redisplays one control, or all, from their variables

  int Event() const { return event_; }
  int Field() const { return field_; }
  Window* window() const { return window_; }

  // Request/response and links
  int Request = 0;
  int Response = 0;  // 0: none given
  int FirstField = 0;
  std::int32_t* VCRRequest = nullptr;
  ErrorClass* Errors = nullptr;
  bool Opened = false;
  bool FilesOpened = false;
  bool Dead = false;  // the event loop has ended

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;
  int Dispatch(int event, int field);
  void TakeEntry(int n);  // copies an entry's text into its variable

 private:
  friend class Window;
  void finish();
  Window* window_ = nullptr;
  ToolbarClass* toolbar_ = nullptr;
  QEventLoop* loop_ = nullptr;
  int event_ = 0;
  int field_ = 0;
  bool quiet_ = false;  // focus changes made by the framework itself raise no events
  std::map<int, QString> shown_;  // what each entry showed when last displayed or accepted
};

// The program's message sink: a message box with an OK button.
class MessageBoxSink : public MessageSink {
 public:
  void show(const Message& m) override;
};

}  // namespace fw
