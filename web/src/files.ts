// Column files in and out of the browser: "Abrir" reads a file the user picks, "Salvar" hands
// the core's bytes to the browser's download, and the examples come from the site itself.
export interface Example {
  file: string;
  title: string;
}

export function download(name: string, content: BlobPart, type: string): void {
  const url = URL.createObjectURL(new Blob([content], { type }));
  const a = document.createElement("a");
  a.href = url;
  a.download = name;
  document.body.append(a);
  a.click();
  a.remove();
  setTimeout(() => URL.revokeObjectURL(url), 10_000);
}

export async function listExamples(): Promise<Example[]> {
  const response = await fetch("examples/index.json");
  if (!response.ok) return [];
  return (await response.json()) as Example[];
}

export async function fetchExample(file: string): Promise<string> {
  const response = await fetch(`examples/${encodeURIComponent(file)}`);
  if (!response.ok) throw new Error(`${file}: não foi possível ler o exemplo (${response.status})`);
  return response.text();
}

// The name a saved column gets: the opened file's name, or "pilar.json".
export function saveName(fileName: string): string {
  if (fileName === "") return "pilar.json";
  return /\.json$/i.test(fileName) ? fileName : `${fileName}.json`;
}
