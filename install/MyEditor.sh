#!/bin/sh
# Shows one text file in the user's editor: $VISUAL when set, else the first graphical text editor
# found, else $EDITOR (or nano, vi) in a terminal window. Never hands the file back to the desktop's
# default handler, since that handler may be this script.
file=$1
[ -n "$file" ] || { echo "MyEditor.sh: no file given" >&2; exit 2; }

if [ -n "${VISUAL:-}" ]; then
    exec $VISUAL "$file"
fi
for editor in gnome-text-editor gedit kate kwrite mousepad xed pluma featherpad leafpad; do
    if command -v "$editor" >/dev/null 2>&1; then
        exec "$editor" "$file"
    fi
done
terminal_editor=${EDITOR:-}
if [ -z "$terminal_editor" ]; then
    for candidate in nano vi; do
        command -v "$candidate" >/dev/null 2>&1 && terminal_editor=$candidate && break
    done
fi
[ -n "$terminal_editor" ] || { echo "MyEditor.sh: no text editor found to show $file" >&2; exit 127; }
for terminal in x-terminal-emulator xterm; do
    if command -v "$terminal" >/dev/null 2>&1; then
        # shellcheck disable=SC2086 # $EDITOR may carry options of its own
        exec "$terminal" -e $terminal_editor "$file"
    fi
done
echo "MyEditor.sh: no terminal found to run $terminal_editor for $file" >&2
exit 127
