#include "Driver.h"

#include <commctrl.h>

#include <cstring>

#include "RemoteBuffer.h"

namespace testdriver {
namespace {

constexpr size_t kCellCapacity = 1024;

// Item texts are read in UTF-16 and converted: across processes Wine answers
// the ANSI forms of these messages with UTF-16 bytes.
std::string ItemText(HWND control, UINT lengthMessage, UINT textMessage, int index) {
  LRESULT length = SendMessageW(control, lengthMessage, index, 0);
  if (length < 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  LRESULT copied = SendMessageW(control, textMessage, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied < 0 ? 0 : static_cast<size_t>(copied));
  return Narrow(text);
}

void NotifyParent(HWND control, WORD code) {
  SendMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
               reinterpret_cast<LPARAM>(control));
}

bool IsMultiSelect(HWND listBox) {
  return (GetWindowLongA(listBox, GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
}

}  // namespace

std::vector<std::string> ListBoxItems(HWND listBox) {
  std::vector<std::string> items;
  LRESULT count = SendMessageA(listBox, LB_GETCOUNT, 0, 0);
  for (int i = 0; i < count; ++i) items.push_back(ItemText(listBox, LB_GETTEXTLEN, LB_GETTEXT, i));
  return items;
}

std::vector<int> ListBoxSelection(HWND listBox) {
  std::vector<int> selected;
  LRESULT count = SendMessageA(listBox, LB_GETCOUNT, 0, 0);
  for (int i = 0; i < count; ++i)
    if (SendMessageA(listBox, LB_GETSEL, i, 0) > 0) selected.push_back(i);
  return selected;
}

bool ListBoxSelect(HWND listBox, int index, bool selected) {
  LRESULT result = IsMultiSelect(listBox) ? SendMessageA(listBox, LB_SETSEL, selected, index)
                                          : SendMessageA(listBox, LB_SETCURSEL, selected ? index : -1, 0);
  if (result == LB_ERR && selected) return false;
  NotifyParent(listBox, LBN_SELCHANGE);
  return true;
}

std::vector<std::string> ComboItems(HWND combo) {
  std::vector<std::string> items;
  LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
  for (int i = 0; i < count; ++i) items.push_back(ItemText(combo, CB_GETLBTEXTLEN, CB_GETLBTEXT, i));
  return items;
}

int ComboSelection(HWND combo) { return static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0)); }

bool ComboSelect(HWND combo, int index) {
  if (SendMessageA(combo, CB_SETCURSEL, index, 0) == CB_ERR) return false;
  NotifyParent(combo, CBN_SELCHANGE);
  return true;
}

int ListViewRowCount(HWND listView) { return static_cast<int>(SendMessageA(listView, LVM_GETITEMCOUNT, 0, 0)); }

std::vector<std::string> ListViewRow(HWND listView, int row, int columns) {
  std::vector<std::string> cells;
  RemoteBuffer remote(listView, sizeof(LVITEMA) + kCellCapacity);
  if (!remote.ok()) return cells;
  for (int column = 0; column < columns; ++column) {
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = remote.at(sizeof(LVITEMA));
    item.cchTextMax = kCellCapacity;
    remote.Write(0, &item, sizeof item);
    LRESULT length = SendMessageA(listView, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(remote.address()));
    std::string text(kCellCapacity, '\0');
    remote.Read(sizeof(LVITEMA), text.data(), kCellCapacity);
    text.resize(length < 0 ? 0 : static_cast<size_t>(length));
    cells.push_back(text);
  }
  return cells;
}

std::vector<std::string> ListViewHeaders(HWND listView) {
  std::vector<std::string> headers;
  RemoteBuffer remote(listView, sizeof(LVCOLUMNA) + kCellCapacity);
  if (!remote.ok()) return headers;
  for (int column = 0;; ++column) {
    LVCOLUMNA col{};
    col.mask = LVCF_TEXT;
    col.pszText = remote.at(sizeof(LVCOLUMNA));
    col.cchTextMax = kCellCapacity;
    remote.Write(0, &col, sizeof col);
    if (!SendMessageA(listView, LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(remote.address()))) break;
    std::string text(kCellCapacity, '\0');
    remote.Read(sizeof(LVCOLUMNA), text.data(), kCellCapacity);
    text.resize(strnlen(text.c_str(), kCellCapacity));
    headers.push_back(text);
  }
  return headers;
}

std::vector<std::vector<std::string>> ListViewRows(HWND listView) {
  std::vector<std::vector<std::string>> rows;
  int columns = static_cast<int>(ListViewHeaders(listView).size());
  int count = ListViewRowCount(listView);
  for (int row = 0; row < count; ++row) rows.push_back(ListViewRow(listView, row, columns));
  return rows;
}

bool ListViewClickHeader(HWND listView, int column) {
  // WM_NOTIFY does not cross processes, so click the header control itself:
  // press and release in the middle of the column's header item.
  HWND header = reinterpret_cast<HWND>(SendMessageA(listView, LVM_GETHEADER, 0, 0));
  RemoteBuffer remote(listView, sizeof(RECT));
  if (!header || !remote.ok()) return false;
  if (!SendMessageA(header, HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(remote.address()))) return false;
  RECT rect{};
  remote.Read(0, &rect, sizeof rect);
  LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  PostMessageA(header, WM_MOUSEMOVE, 0, at);
  PostMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageA(header, WM_LBUTTONUP, 0, at);
  return true;
}

}  // namespace testdriver
