#pragma once
#include <QStyledItemDelegate>

// Draws each cell of the pair table in its own text's direction: an Arabic
// or Hebrew phrase reads right to left and keeps its punctuation where its
// script puts it; a cell aligned to the left moves to the right for it.
class TPhraseDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};
