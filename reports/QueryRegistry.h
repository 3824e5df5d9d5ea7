#pragma once
// Registers the query forms in the form registry under their dispatch codes: 21 the stock-in
// bill query, 22 the stock-out bill query, 23 the stock query.
void RegisterQueryForms();
