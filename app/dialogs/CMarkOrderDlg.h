#pragma once
// Dialog 173 "Change object mark order": the objects' names in marking order
// (the parameter record first, never moved); up and down swap the selected
// entry with its neighbour.
#include <QDialog>
#include <vector>

class CObjElement;
class QListWidget;

class CMarkOrderDlg : public QDialog {
 public:
  CMarkOrderDlg(std::vector<CObjElement*> order, QWidget* parent = nullptr);
  const std::vector<CObjElement*>& Order() const { return order_; }
  // The entry's new index after the move, or the same index when it cannot move.
  static int MoveUp(std::vector<CObjElement*>& order, int index);
  static int MoveDown(std::vector<CObjElement*>& order, int index);

 private:
  void Fill(int selected);
  // Shows the entry moved from row `from` to row `to` and selects it.
  void Show(int from, int to);
  std::vector<CObjElement*> order_;
  QListWidget* list_;
};
