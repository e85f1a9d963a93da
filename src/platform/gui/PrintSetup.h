#pragma once

class QPrinter;
class QWidget;

// One printer set-up for the whole program: Print Setup chooses it and every print uses it.
// It lives until the application ends.
QPrinter &ApplicationPrinter();
// The page and printer set-up dialog over the program's printer.
void ShowPrintSetup(QWidget *parent);
