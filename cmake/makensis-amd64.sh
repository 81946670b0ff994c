#!/bin/sh
# NSIS for CPack, making a 64-bit installer: the one for 64-bit programs, and the one Wine
# without its 32-bit part can run.
exec makensis "-XTarget amd64-unicode" "$@"
