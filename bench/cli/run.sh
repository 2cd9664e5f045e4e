#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Benchmark of quillmark-decode --lines against wc -l; see run.py for what it reports.
exec python3 "$(dirname "${BASH_SOURCE[0]}")/run.py" "$@"
