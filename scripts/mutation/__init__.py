"""Mutants made by rule over Tolvik's C++ sources and install scripts (scripts/mutate)."""
