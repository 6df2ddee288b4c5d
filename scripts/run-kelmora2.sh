#!/usr/bin/env bash
# Starts Kelmora2 under Wine on a working copy of the shipped sample data file, or on the data
# file named by the argument: scripts/run.sh Kelmora2, which says more.
exec bash "$(dirname "$0")/run.sh" Kelmora2 "$@"
