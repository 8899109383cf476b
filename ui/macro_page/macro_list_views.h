#pragma once
// The macro page's lists as list-box views: none of their windows exists off the macro page.
#include "ui/macro_page/macro_page_controls.h"
#include "winlib/list_box_view.h"

inline ListBoxView ListOf(const CEditableListBox* list) { return ListBoxView(list ? list->Handle() : nullptr); }
