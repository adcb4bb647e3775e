"""The scenario kit: what the scenario tests of whole programs share (each module says what it holds)."""
