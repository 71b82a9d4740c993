#!/bin/sh
# Checks the desktop entry with desktop-file-validate; any complaint fails, warnings included.
# Usage: validate-desktop-entry.sh ENTRY.desktop
set -eu
said=$(desktop-file-validate "$1" 2>&1) || { printf '%s\n' "$said" >&2; exit 1; }
if [ -n "$said" ]; then
    printf '%s\n' "$said" >&2
    exit 1
fi
echo "$1: valid"
