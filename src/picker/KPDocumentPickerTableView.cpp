#include "KPDocumentPickerTableView.h"

#include <algorithm>

void KPDocumentPickerTableView::setContentHeight(double height)
{
    const double least =
        size().height() - contentInsetTop() - contentInsetBottom() + headerViewHeight();
    TableView::setContentHeight(std::max(height, least));
}
