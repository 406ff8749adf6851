#!/usr/bin/env bash
# Installs the build into a temporary prefix, lets the installed amasset create
# an account set from the installed schema files, then builds the example
# host (through pkg-config) and a find_package consumer against the installed
# tree alone and runs both against that account set, and so does the installed
# Python module.
#   check_install.sh BUILD_DIR SOURCE_DIR SERVER [COMPILER_FLAGS]
set -euo pipefail
build=$1 source=$2 server=$3 flags=${4:-}
tmp=$(mktemp -d /tmp/tkam-install-XXXXXX)
prefix=$tmp/prefix
account_set=INSTALL_TREE
cleanup() {
    "$prefix/bin/amasset" accountset drop $account_set --server "$server user=amasset" >/dev/null 2>&1 || true
    rm -rf "$tmp"
}
trap cleanup EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null
"$prefix/bin/amasset" --version | grep -qF "$prefix/share/tkamasset/db" \
    || { echo "installed amasset does not use the installed schema files" >&2; exit 1; }
"$prefix/bin/amasset" accountset create $account_set --demo --replace --server "$server user=amasset"

export PKG_CONFIG_PATH=$prefix/lib/pkgconfig
# shellcheck disable=SC2046 # pkg-config's flags are words
cc $flags -o "$tmp/host" "$source/examples/host.c" $(pkg-config --cflags TkAMAssetInt) -ldl
"$tmp/host" "$(pkg-config --variable=componentdir TkAMAssetInt)/TkAMAssetInt.so" "$server" \
    $account_set 1

cmake -S "$source/examples/consumer" -B "$tmp/consumer" -DCMAKE_PREFIX_PATH="$prefix" \
    -DCMAKE_C_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" >/dev/null
cmake --build "$tmp/consumer" >/dev/null
"$tmp/consumer/consumer" "$server" $account_set

# (Not under the sanitizers, whose runtime must load before the interpreter.)
[[ $flags == *sanitize* ]] && exit 0
PYTHONPATH=$prefix/lib/python3/dist-packages python3 - \
    "$(pkg-config --variable=componentdir TkAMAssetInt)/TkAMAssetInt.so" "$server" $account_set \
    "$prefix" <<'PYTHON'
import sys
import tkam
library, server, account_set, prefix = sys.argv[1:5]
assert tkam.__file__.startswith(prefix), tkam.__file__ + " is not the installed module"
with tkam.Ledger(library, server, account_set) as ledger:
    print("Python 模块: %d 项资产" % len(ledger.assets()))
PYTHON
