#ifndef FILESCENARIOS_H
#define FILESCENARIOS_H

class BenchReport;

// Saving and loading the two big files an operator waits for: a 10,000-row
// listenoire.txt and a config.ini of 500 groups.
void BlacklistFile(BenchReport& report);
void ConfigIni(BenchReport& report);

#endif // FILESCENARIOS_H
