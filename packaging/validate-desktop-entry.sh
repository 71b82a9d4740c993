#!/bin/sh
# Checks the desktop entry with desktop-file-validate; any complaint fails, warnings included.
# Validators before 0.27 (Debian 12 ships 0.26) predate the SingleMainWindow key of the Desktop
# Entry format 1.5 and call it an error: that one complaint alone is let pass.
# Usage: validate-desktop-entry.sh ENTRY.desktop
set -eu
said=$(desktop-file-validate "$1" 2>&1) || true
left=$(printf '%s\n' "$said" | grep -v 'contains key "SingleMainWindow"' | grep . || true)
if [ -n "$left" ]; then
    printf '%s\n' "$left" >&2
    exit 1
fi
echo "$1: valid"
