#!/bin/sh
# Link launcher: runs the link command with another compiler driver.
# link-with.sh DRIVER COMPILER ARGS... runs DRIVER ARGS...
driver=$1
shift 2
exec "$driver" "$@"
