#pragma once

struct RetrievalParams;

// The run's supervisor: asks the query's engines in batches of at most maxConns, each batch
// ending completely before the next starts, until all were asked or the run is stopped.
// Runs on its own thread (CRetrievalRun); returns 0.
int RetrievalThreadProc(RetrievalParams *params);
