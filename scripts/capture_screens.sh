#!/usr/bin/env bash
# Takes the pictures of the user's guide (docs/guide/images) and of the
# README (docs/*.png) from the real program: Lunmark runs under Xvfb with the
# openbox window manager on a register made by its own command line from
# scripts/capture/members.csv, and is driven with xdotool through the menu and
# the keys the guide names, doing the tasks a new user does with the guide:
# sign in, add a member, print the list and labels (to PDF), import a
# workbook, enter the SMS account and send a message to the gateway
# simulator. Each step waits for the window the guide shows; when one does
# not open, the script stops with the step's name and leaves a picture of
# the screen in build/capture-failed.png. Buttons without keys of their own
# are clicked where they are on the 1024×768 screen.
#
#   scripts/capture_screens.sh [--check] [--program PATH] [--simulator PATH]
#
# CAPTURE_KEEP=1 keeps the register and logs it made, for a look.
# --check walks the same way and takes the pictures into a temporary folder,
# leaving the guide's pictures alone (the test command runs it so).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
check=0
program="$root/build/lunmark"
simulator="$root/build/tools/gateway_sim/lunmark-gateway-sim"
while [ $# -gt 0 ]; do
    case "$1" in
    --check) check=1 ;;
    --program) program="$2"; shift ;;
    --simulator) simulator="$2"; shift ;;
    *) echo "usage: $0 [--check] [--program PATH] [--simulator PATH]" >&2; exit 2 ;;
    esac
    shift
done
for tool in Xvfb openbox xdotool import; do
    command -v "$tool" >/dev/null || { echo "$0: $tool is missing (scripts/setup.sh installs it)" >&2; exit 1; }
done
for built in "$program" "$simulator"; do
    [ -x "$built" ] || { echo "$0: no program at $built (build it first)" >&2; exit 1; }
done

work="$(mktemp -d)"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    if [ -n "${CAPTURE_KEEP:-}" ]; then echo "kept $work" >&2; else rm -rf "$work"; fi
}
trap cleanup EXIT
fail() {
    echo "FAILED: $*" >&2
    if [ -n "${DISPLAY:-}" ]; then
        echo "windows shown:" >&2
        for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do
            echo "  $(xdotool getwindowname "$w" 2>/dev/null)" >&2
        done
        import -window root "$root/build/capture-failed.png" 2>/dev/null &&
            echo "the screen: build/capture-failed.png" >&2
    fi
    [ -f "$work/lunmark.log" ] && sed 's/^/lunmark: /' "$work/lunmark.log" >&2
    exit 1
}
if [ "$check" = 1 ]; then
    images="$work/images" readme="$work/readme"
else
    images="$root/docs/guide/images" readme="$root/docs"
fi
mkdir -p "$images" "$readme"

# A display of our own: Xvfb picks a free number and writes it to fd 3.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(head -1 "$work/display")"
exec 3>&-
openbox --config-file /dev/null >"$work/openbox.log" 2>&1 &
pids+=($!)
sleep 1

# The register: the fixture imported by the program's own command line.
cd "$work"
export LANG=C.UTF-8 LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb
unset LUNMARK_GUIDE_DIR
"$program" --database db.sqlite --create-database --import "$here/capture/members.csv" >/dev/null ||
    fail "the register could not be made"
# The SMS gateway: the simulator, with the account the guide types in.
"$simulator" --port 0 --cust-id C123 --cust-pwd secret --cust-name 小店 \
    --log "$work/messages.jsonl" >"$work/sim.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do grep -q listening "$work/sim.log" && break; sleep 0.1; done
gateway="$(sed -n 's/.*listening on //p' "$work/sim.log")"
[ -n "$gateway" ] || fail "the gateway simulator did not start: $(cat "$work/sim.log")"
printf '[Gateway]\nSendHost=%s\nAccountHost=%s\n' "$gateway" "$gateway" >lunmark.ini
"$program" --database db.sqlite >"$work/lunmark.log" 2>&1 &
pids+=($!)

# Waits until the active window's title matches the pattern; prints its id.
# A window that opened without the focus (the window manager may keep it
# from a window that is just closing) is given the focus, as a click would.
active() {
    local pattern="$1" step="$2" id name shown
    for _ in $(seq 200); do
        id="$(xdotool getactivewindow 2>/dev/null || true)"
        if [ -n "$id" ]; then
            name="$(xdotool getwindowname "$id" 2>/dev/null || true)"
            if [[ "$name" =~ $pattern ]]; then
                echo "$id"
                return
            fi
        fi
        for shown in $(xdotool search --onlyvisible --name "$pattern" 2>/dev/null); do
            xdotool windowactivate "$shown" 2>/dev/null || true
        done
        sleep 0.1
    done
    fail "$step: no window titled /$pattern/ (the active one is \"${name:-none}\")"
}
# The window (with its frame) or the whole screen as a picture.
shoot() {
    local what="$1" file="$2"
    sleep 0.6 # let the window paint
    if [ "$what" = screen ]; then
        import -window root "$file"
    else
        import -frame -window "$what" "$file"
    fi
    echo "  $(basename "$file")"
}
keys() { xdotool key --delay 120 "$@"; sleep 0.3; }
# Clicks at x, y inside the window.
click() {
    xdotool mousemove --window "$1" "$2" "$3" click 1 || fail "could not click at $2,$3"
    sleep 0.5
}
# Opens the menu at position top (0 = 基本資料) and its item (0 = first).
menu() {
    local top="$1" item="$2" moves=()
    keys alt
    for _ in $(seq "$top"); do moves+=(Right); done
    moves+=(Down)
    for _ in $(seq "$item"); do moves+=(Down); done
    keys "${moves[@]}" Return
}
main='^會員管理\(本公司\)$'

echo "== 第一次使用"
id="$(active '^登入$' '登入')"
shoot "$id" "$images/sign-in.png"
xdotool type --delay 60 Admin
keys Return Return Return
active "$main" 'Admin 以空白密碼登入' >/dev/null
keys alt Down
shoot screen "$images/main-window.png"
keys Escape Escape
menu 2 2
id="$(active '^修改密碼$' '系統維護 › 修改密碼')"
shoot "$id" "$images/change-password.png"
keys Escape
active "$main" '關閉修改密碼' >/dev/null

echo "== 會員資料"
menu 0 0
active '\[會員管理\]$' '基本資料 › 會員資料' >/dev/null
keys ctrl+f
xdotool type --delay 60 0
shoot screen "$images/member-window.png"
cp "$images/member-window.png" "$readme/member-window.png"
keys ctrl+n
xdotool type --delay 60 A007
keys Return
xdotool type --delay 60 吳建國
keys Return
xdotool type --delay 60 先生
shoot screen "$images/member-new.png"
keys ctrl+s
active '^提示$' '新增會員 保存 (Ctrl+S): 保存成功!' >/dev/null
keys Return
active '\[會員管理\]$' '保存成功 之後' >/dev/null
cp "$images/main-window.png" "$readme/main-window.png"

echo "== 列印名冊"
keys ctrl+p
id="$(active '^會員名冊$' '會員視窗的 預覽 (Ctrl+P)')"
shoot "$id" "$images/list-preview.png"
keys Escape
active '\[會員管理\]$' '關閉預覽' >/dev/null

echo "== 印標籤"
xdotool mousemove 185 725 click 1 # 標籤列印
id="$(active '^標籤列印$' '會員視窗的 標籤列印')"
shoot "$id" "$images/label-paper.png"
click "$id" 63 234 # 列印
for _ in $(seq 50); do
    preview="$(active '^標籤列印$' '標籤列印 › 列印: 預覽')"
    [ "$preview" != "$id" ] && break
    sleep 0.1
done
[ "$preview" != "$id" ] || fail "標籤列印 › 列印: no preview opened"
shoot "$preview" "$images/label-preview.png"
click "$preview" 730 21 # 匯出 PDF
active '^匯出 PDF$' '預覽的 匯出 PDF' >/dev/null
keys ctrl+a
xdotool type --delay 30 "$work/labels.pdf"
keys Return
active '^提示$' '匯出 PDF: 已匯出 PDF 檔案' >/dev/null
keys Return
[ -s "$work/labels.pdf" ] || fail "匯出 PDF wrote no $work/labels.pdf"
active '^標籤列印$' '已匯出 PDF 之後' >/dev/null
keys Escape
active '\[會員管理\]$' '關閉標籤的預覽' >/dev/null

echo "== 使用說明"
keys F1
id="$(active '^使用說明$' '會員視窗中按 F1')"
shoot "$id" "$images/help-window.png"
keys Escape
active '\[會員管理\]$' '關閉使用說明' >/dev/null
keys Escape
active "$main" '會員視窗的 離開 (Esc)' >/dev/null

echo "== 匯入會員"
menu 2 3
id="$(active '^客戶資料導入$' '系統維護 › 客戶資料導入')"
shoot "$id" "$images/customer-import.png"
keys Return # 從Excel檔轉入資料到客戶管理
for _ in $(seq 50); do
    chooser="$(xdotool getactivewindow 2>/dev/null || true)"
    [ -n "$chooser" ] && [ "$chooser" != "$id" ] && break
    sleep 0.1
done
[ "$chooser" != "$id" ] || fail "從Excel檔轉入資料到客戶管理 opened no file dialog"
xdotool type --delay 30 "$here/capture/more-members.csv"
keys Return
active '^提示$' '匯入: 是否刪除舊資料﹖' >/dev/null
shoot "$(active '^提示$' '是否刪除舊資料﹖')" "$images/import-question.png"
keys Return # 否, the default
preview="$(active '^導入預覽$' '匯入: 導入預覽')"
shoot "$preview" "$images/import-preview.png"
keys Return # 導入, the default
done_box="$(active '^管理軟體$' '匯入: 導入成功')"
shoot "$done_box" "$images/import-done.png"
keys Return
active '^客戶資料導入$' '導入成功 之後' >/dev/null
keys Escape
active "$main" '關閉客戶資料導入' >/dev/null

echo "== 復原上次導入"
menu 2 4
shoot "$(active '^提示$' '系統維護 › 復原上次導入: 是否復原上次導入﹖')" "$images/undo-import.png"
keys Return # 否, the default
active "$main" '不復原' >/dev/null

echo "== 備份與還原"
menu 2 5
id="$(active '^還原備份$' '系統維護 › 還原備份')"
shoot "$id" "$images/restore-window.png"
keys Escape
active "$main" '關閉還原備份' >/dev/null

echo "== 發送簡訊"
menu 1 1
active '^簡訊註冊$' '簡訊作業 › 簡訊註冊' >/dev/null
keys Return # 修改
xdotool type --delay 60 C123
keys Return
xdotool type --delay 60 secret
keys Return
xdotool type --delay 60 小店
id="$(active '^簡訊註冊$' '簡訊註冊 修改')"
shoot "$id" "$images/sms-account.png"
click "$id" 156 110 # 保存
keys Escape
active "$main" '簡訊註冊 保存 後離開 (Esc)' >/dev/null
menu 1 0
id="$(active '^發送簡訊$' '簡訊作業 › 發送簡訊')"
# The send window's buttons have no keys of their own: clicked where they are.
click "$id" 837 54    # 查詢
click "$id" 432 577   # 全選
click "$id" 836 577   # 加入接收人
active '^提示$' '加入接收人: 2 位會員沒有手機號碼' >/dev/null
keys Return
active '^發送簡訊$' '沒有手機號碼的提示之後' >/dev/null
click "$id" 192 409   # 簡訊內容
xdotool type --delay 60 本週六公休一天
shoot "$id" "$images/send-window.png"
cp "$images/send-window.png" "$readme/send-window.png"
click "$id" 676 619   # 發送簡訊
active '^提示$' '發送簡訊: 發送完畢' >/dev/null
shoot "$(active '^提示$' '發送完畢')" "$images/send-done.png"
keys Return
sent="$(wc -l <"$work/messages.jsonl" 2>/dev/null || echo 0)"
[ "$sent" = 7 ] || fail "the simulator took $sent messages, not one for each of the 7 members with a mobile"
active '^發送簡訊$' '發送完畢 之後' >/dev/null
keys Escape
active "$main" '關閉發送簡訊' >/dev/null

echo "every window of the guide opened as it says"
