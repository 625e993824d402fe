#!/usr/bin/python3
"""Validates JSON documents against ReadyCheck's JSON Schema, strictly: an object whose members
the schema lists may hold no other, so a member that the program writes and the schema does not
describe fails. Prints one line per fault and exits 1 on any.

With --mutants each document must also fail once any one member is added, removed, or given a
value of another type: the schema then describes every member, requires it and fixes its type.
The members of a name-value map (a card's environment, a cause's evidence) may come and go.

Usage: json-schema.py SCHEMA [--definition NAME] [--mutants] [FILE...]
(standard input without FILE; NAME one of the schema's $defs, such as card_answer)
"""
import argparse
import json
import sys

from jsonschema import Draft202012Validator


def closed(schema):
    """The schema with no further members allowed where an object lists its own."""
    if isinstance(schema, list):
        return [closed(item) for item in schema]
    if not isinstance(schema, dict):
        return schema
    result = {key: closed(value) for key, value in schema.items()}
    if "properties" in schema and "additionalProperties" not in schema:
        result["additionalProperties"] = False
    return result


def validator(path, definition):
    with open(path, encoding="utf-8") as file:
        schema = json.load(file)
    Draft202012Validator.check_schema(schema)
    schema = closed(schema)
    if definition:
        schema = {"$schema": schema["$schema"], "$defs": schema["$defs"],
                  "$ref": "#/$defs/" + definition}
    return Draft202012Validator(schema)


def other_type(value):
    """A value of another JSON type than the one given, and one that no scalar member takes."""
    if isinstance(value, bool):
        return "true"
    if isinstance(value, (int, float)):
        return str(value)
    if isinstance(value, str):
        return 0
    return [] if isinstance(value, dict) else {}


MAPS = ("environment", "evidence")


def mutants(node, path=""):
    """(what was changed, the whole document changed so) for each single change."""
    yield path + " retyped", other_type(node)
    if isinstance(node, dict):
        yield path + " with a member added", {**node, "added": {}}
        for name, value in node.items():
            if not path.endswith(MAPS):
                yield f"{path}.{name} removed", {k: v for k, v in node.items() if k != name}
            for where, changed in mutants(value, f"{path}.{name}"):
                yield where, {**node, name: changed}
    elif isinstance(node, list):
        for index, value in enumerate(node):
            for where, changed in mutants(value, f"{path}[{index}]"):
                yield where, node[:index] + [changed] + node[index + 1:]


def faults(check, name, document, with_mutants):
    for error in check.iter_errors(document):
        yield f"{name}: {error.json_path}: {error.message}"
    if with_mutants:
        for where, changed in mutants(document):
            if check.is_valid(changed):
                yield f"{name}: still valid with {where or 'the document'}"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("schema")
    parser.add_argument("--definition")
    parser.add_argument("--mutants", action="store_true")
    parser.add_argument("files", nargs="*")
    arguments = parser.parse_intermixed_args()
    check = validator(arguments.schema, arguments.definition)
    found = []
    for name in arguments.files or ["-"]:
        try:
            with open(0 if name == "-" else name, encoding="utf-8") as file:
                document = json.load(file)
        except ValueError as error:
            found.append(f"{name}: not JSON: {error}")
            continue
        found.extend(faults(check, name, document, arguments.mutants))
    print("\n".join(found), end="\n" if found else "")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
