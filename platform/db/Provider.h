#pragma once
// TDataSetProvider: reads a dataset into a data packet for a client dataset.
// GetRecords(n) opens the dataset when closed, and returns its first n records (n < 0: all)
// from the first record as a packet with its field definitions. The dataset's current record
// is moved; the provider does not close the dataset.
#include "ClientDataSet.h"

class TDataSetProvider {
public:
    TDataSetProvider() = default;
    explicit TDataSetProvider(TDataSet* ds) : m_dataSet(ds) {}

    TDataSet* DataSet() const { return m_dataSet; }
    void SetDataSet(TDataSet* ds) { m_dataSet = ds; }
    QString Name() const { return m_name; }
    void SetName(const QString& v) { m_name = v; }

    TDataPacket GetRecords(int count);
    TDataPacket Data() { return GetRecords(-1); }

    // A packet of the records of any open dataset from its current record (count < 0: all).
    static TDataPacket PacketFromDataSet(TDataSet* ds, int count);
    // The same records as content of a packet still to be made, for a reader that takes
    // its rows over instead of copying them.
    TPacketContentPtr GetContent(int count);
    static TPacketContentPtr ContentFromDataSet(TDataSet* ds, int count);

private:
    TDataSet* m_dataSet = nullptr;
    QString m_name;
};
