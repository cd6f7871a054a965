// Times GROUP BY queries in DuckDB (in memory) over a CSV file of facts, for
// bench_olap's side-by-side comparison. Prints one line per query and thread
// count: "name<TAB>threads<TAB>median ms<TAB>checksum".
//
//   NODE_PATH=DIR/node_modules node duckdb_bench.cjs FACTS.csv THREADS[,THREADS...] RUNS NAME=SQL...
const { DuckDBInstance } = require('@duckdb/node-api');

async function main() {
  const [csv, threadList, runsText, ...queries] = process.argv.slice(2);
  const runs = Number(runsText);
  const instance = await DuckDBInstance.create(':memory:');
  const conn = await instance.connect();
  await conn.run(`CREATE TABLE facts AS SELECT * FROM read_csv('${csv.replaceAll("'", "''")}', header = true)`);

  for (const threads of threadList.split(',')) {
    await conn.run(`SET threads = ${Number(threads)}`);
    for (const query of queries) {
      const cut = query.indexOf('=');
      const name = query.slice(0, cut), sql = query.slice(cut + 1);
      const times = [];
      let checksum = 0;
      for (let i = 0; i < runs; ++i) {
        const t = process.hrtime.bigint();
        const reader = await conn.runAndReadAll(sql);
        const rows = reader.getRows();
        times.push(Number(process.hrtime.bigint() - t) / 1e6);
        if (i === 0)
          for (const row of rows)
            for (const v of row) checksum += Number(v ?? 0);
      }
      times.sort((a, b) => a - b);
      console.log(`${name}\t${threads}\t${times[Math.floor(times.length / 2)].toFixed(2)}\t${checksum}`);
    }
}
}

main().catch((e) => {
  console.error(e.message);
  process.exit(1);
});
