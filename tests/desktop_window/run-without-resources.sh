#!/usr/bin/env bash
# Runs the MissingResources tests from a copy of the test program whose
# Resources folder holds only toaster_0000.png.
set -eu
program=$1
resources=$(dirname "$program")/Resources
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/Resources"
cp "$resources/toaster_0000.png" "$work/Resources/"
cp "$program" "$work/"
"$work/$(basename "$program")" --gtest_filter='MissingResources.*'
