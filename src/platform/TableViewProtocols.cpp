#include "TableViewProtocols.h"

void TableViewDelegate::didSelectRow(TableView *, IndexPath) {}
void TableViewDelegate::didDeselectRow(TableView *, IndexPath) {}
void TableViewDelegate::accessoryButtonTapped(TableView *, IndexPath) {}
void TableViewDelegate::didScroll(TableView *) {}
