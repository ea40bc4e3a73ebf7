#pragma once

class TokenTableModel;

// Vowel numbering over the token rows: the Order column that groups tokens on the charts.

// Sorts the rows by symbol (stable, by the symbols' bytes) and numbers them: each run of
// equal symbols (same bytes) gets the next number, counting from 1. The rows' editing state is left
// alone: numbering is not an edit of the tokens.
void AssignOrder(TokenTableModel &tokens);

// True when some row has an Order other than 0.
bool HasOrder(const TokenTableModel &tokens);
