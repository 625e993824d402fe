// The program's JSON checked against its installed JSON Schema, strictly (json-schema.py).
#pragma once

#include <string>

// What is wrong with the text as ReadyCheck's JSON, or, given a definition of the schema
// ("card_answer"), as that; empty when it is valid.
std::string SchemaFaults(const std::string& json, const std::string& definition = "");
