#pragma once

#include "TableView.h"

// The picker's list: always tall enough that the search header can scroll out of sight, even
// when the rows do not fill the screen.
class KPDocumentPickerTableView : public TableView {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the picker")

public:
    using TableView::TableView;
    void setContentHeight(double height) override;
};
