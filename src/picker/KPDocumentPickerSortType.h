#pragma once

// The six orders of a listing; a name sort is any value below 2.
enum KPDocumentPickerSortType : int {
    KPDocumentPickerSortTypeNameAscending = 0,
    KPDocumentPickerSortTypeNameDescending = 1,
    KPDocumentPickerSortTypeDateAscending = 2,
    KPDocumentPickerSortTypeDateDescending = 3,
    KPDocumentPickerSortTypeSizeAscending = 4,
    KPDocumentPickerSortTypeSizeDescending = 5,
};
