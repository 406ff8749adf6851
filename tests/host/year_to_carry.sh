#!/bin/sh
# An account set with a year closed and the next year's set made --like it,
# for a host to carry forward: year_to_carry.sh AMASSET ADMIN_SERVER NAME
set -e
amasset=$1 server=$2 name=$3
"$amasset" accountset create "$name" --demo --years 2024 --replace --server "$server"
"$amasset" asset add --category 04-02 --name 打印机 --cost 12000 --date 2024-01-10 \
    --account-set "$name" --server "$server"
"$amasset" asset add --category 04-02 --name 复印机 --cost 30000 --date 2024-03-05 \
    --account-set "$name" --server "$server"
"$amasset" period close --period 2024-01 --to 2024-12 --account-set "$name" --server "$server"
"$amasset" accountset create "${name}2025" --years 2025 --like "$name" --replace --server "$server"
