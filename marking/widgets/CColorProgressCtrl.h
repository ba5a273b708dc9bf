#pragma once
// A progress bar drawn by the program: the filled part in the bar colour, the
// rest in the background colour, and the percentage (or a set text) written
// across it in two colours, each readable on its part.
//
// SetPos may be called from any thread (the marking worker calls it for every
// step node); the redraw always happens on the widget's own thread.
#include <QColor>
#include <QEvent>
#include <QString>
#include <QWidget>
#include <mutex>

class CColorProgressCtrl : public QWidget {
 public:
  explicit CColorProgressCtrl(QWidget* parent = nullptr);
  ~CColorProgressCtrl() override;

  void SetRange(int lower, int upper);
  void SetStep(int step);
  // Stores the position and returns the previous one. Redraws only when the
  // filled width changes by at least one pixel.
  int SetPos(int position);
  int GetPos() const;

  // Text written across the bar instead of the percentage (empty: percentage).
  void SetWindowText(const QString& text);
  QString GetWindowText() const;
  // Copies at most maxCount bytes of the UTF-8 text, with a terminating zero
  // when there is room for it; returns the number of text bytes copied.
  int GetWindowText(char* buffer, int maxCount) const;

  // Filled width of the last redraw in pixels; -1 before the first one and
  // after a resize.
  int LastBarWidth() const;

 protected:
  bool event(QEvent* e) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  struct State {
    int position = 0;
    int step = 1;
    int upper = 100;
    int lower = 0;
    QString text;
    int showText = 1;
    int barWidth = -1;
  };
  // Filled width for the state on a client of the given width.
  static int BarWidth(const State& state, int clientWidth);
  void Redraw();
  static QEvent::Type RedrawEvent();

  mutable std::mutex mutex_;
  State state_;
  int clientWidth_ = 0;  // kept here so other threads never ask the widget
  QColor barColor_;
  QColor backgroundColor_;
  QColor textColor_;        // over the background
  QColor textOverBarColor_;  // over the bar
};
