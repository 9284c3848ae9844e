// A process-wide record that is made on first use and never destroyed.
// The process ends through EndProcess without running destructors, and a
// global with a constructor or destructor would cost a constructor run, an
// exit-handler registration and written pages at every start, whether the
// run reads the record or not. Only a pointer sits in the data segment.
#pragma once

template <typename T>
struct TProcessRec {
  T* Record;  // null until first use
};

// The record, made empty on first use.
template <typename T>
T& ProcessRecord(TProcessRec<T>& storage) {
  if (!storage.Record) storage.Record = new T();
  return *storage.Record;
}

// True once the record was made.
template <typename T>
bool ProcessRecordMade(const TProcessRec<T>& storage) {
  return storage.Record != nullptr;
}

// Empties the record if it was ever made; a record never made holds
// nothing to release.
template <typename T>
void ReleaseProcessRecord(TProcessRec<T>& storage) {
  if (storage.Record) *storage.Record = T();
}
