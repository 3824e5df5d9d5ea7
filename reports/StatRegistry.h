#pragma once
// Registers the statistics report forms in the form registry under their dispatch codes:
// 31 stock-in, 32 stock-out, 33 stock and in/out/stock, 34 turnover materials, 35 the custom
// report.
void RegisterStatForms();
