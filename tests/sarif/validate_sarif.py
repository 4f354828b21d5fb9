#!/usr/bin/env python3
"""Validates SARIF logs against the SARIF 2.1.0 schema.

Usage: validate_sarif.py SCHEMA LOG...
Exits 1 naming the first violation of each log that has one.
"""
import json
import sys

import jsonschema


def main(schema_path, log_paths):
    with open(schema_path, encoding="utf-8") as schema_file:
        schema = json.load(schema_file)
    validator = jsonschema.Draft4Validator(
        schema, format_checker=jsonschema.Draft4Validator.FORMAT_CHECKER)
    failed = False
    for path in log_paths:
        with open(path, encoding="utf-8") as log_file:
            log = json.load(log_file)
        error = jsonschema.exceptions.best_match(validator.iter_errors(log))
        if error is not None:
            print(f"{path}: {'/'.join(map(str, error.absolute_path))}: {error.message}")
            failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1], sys.argv[2:]))
