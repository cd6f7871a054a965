-- A small star schema: the test OLAP server reads it through its schema
-- (shop-schema.xml), cubebuild through the view sales_flat (shop.cube).
CREATE TABLE customer(id INTEGER PRIMARY KEY, region TEXT, country TEXT, city TEXT);
INSERT INTO customer VALUES
  (1, 'America', 'Canada', 'Toronto'), (2, 'America', 'USA', 'Boston'), (3, 'America', 'USA', 'Chicago'),
  (4, 'Asia', 'Japan', 'Tokyo'), (5, 'Europe', 'France', 'Lyon'), (6, 'Europe', 'France', 'Paris'),
  (7, 'Europe', 'Germany', 'Berlin'), (8, 'Europe', 'Switzerland', 'Zürich');
CREATE TABLE product(id INTEGER PRIMARY KEY, category TEXT, product TEXT);
INSERT INTO product VALUES (1, 'Bikes', 'Mountain'), (2, 'Bikes', 'Road'), (3, 'Clothing', 'Caps & Hats'),
  (4, 'Clothing', 'Gloves <L>');
CREATE TABLE period(id INTEGER PRIMARY KEY, year TEXT, month TEXT);
INSERT INTO period VALUES (1, '2023', '01'), (2, '2023', '02'), (3, '2024', '01'), (4, '2024', '02');
-- One fact per city, product and month; Tokyo sells no caps; some costs are unknown.
CREATE TABLE sales(customer_id INTEGER, product_id INTEGER, period_id INTEGER, revenue REAL, cost REAL);
WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 127)
INSERT INTO sales
  SELECT 1 + i / 16, 1 + (i / 4) % 4, 1 + i % 4, ((i * 37) % 101) * 1.25,
         CASE WHEN i % 23 = 5 THEN NULL ELSE ((i * 53) % 67) * 0.5 END
  FROM n WHERE NOT (i / 16 = 3 AND (i / 4) % 4 = 2);
-- The facts with their member names, in member order (a local cube keeps
-- members in the order they first appear).
CREATE VIEW sales_flat AS
  SELECT c.region AS Region, c.country AS Country, c.city AS City, p.category AS Category,
         p.product AS Product, t.year AS Year, t.month AS Month,
         s.revenue AS Revenue, s.cost AS Cost, s.revenue AS Orders
  FROM sales s JOIN customer c ON c.id = s.customer_id JOIN product p ON p.id = s.product_id
       JOIN period t ON t.id = s.period_id
  ORDER BY c.region, c.country, c.city, p.category, p.product, t.year, t.month;
